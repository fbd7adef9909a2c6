#include "calendar/CalendarWeekStore.h"

#include "core/ConfigPaths.h"
#include "core/MessageSink.h"
#include "core/cls_Config.h"

CalendarWeekStore::CalendarWeekStore(cls_Config &config)
    : m_config(config)
{
}

pugi::xml_node CalendarWeekStore::day(int weekIndex) const
{
    if (weekIndex < 1 || weekIndex > 5)
        return {};
    return m_config.node(ConfigPaths::calendarDay(weekIndex));
}

std::optional<std::vector<pugi::xml_node>> CalendarWeekStore::WeekList(int weekIndex) const
{
    const pugi::xml_node items = day(weekIndex);
    if (!items) {
        m_config.messageSink().show(MessageIcon::Critical, QStringLiteral("WeekList Error!"), QStringLiteral("Tessaly"));
        return std::nullopt;
    }
    std::vector<pugi::xml_node> nodes;
    for (const pugi::xml_node &child : items.children()) {
        if (child.type() == pugi::node_element)
            nodes.push_back(child);
    }
    return nodes;
}

bool CalendarWeekStore::AddFXCalendar(int weekIndex, const QString &cellTime, const QString &cellInfo,
                                      const QString &beforeValue, const QString &predictValue,
                                      const QString &result, const QString &importance,
                                      const QString &comment, const QString &notify)
{
    pugi::xml_node items = day(weekIndex);
    if (!items) {
        m_config.messageSink().show(MessageIcon::Information, cls_Config::missingNodeDescription(),
                                    QStringLiteral("FXCalendar"));
        return false;
    }
    pugi::xml_node item = items.append_child("Item");
    const std::pair<const char *, const QString &> attributes[] = {
        {"Time", cellTime},             {"Notify", notify}, {"BeforeValue", beforeValue},
        {"PredictValue", predictValue}, {"Result", result}, {"Importance", importance},
        {"Comment", comment},
    };
    for (const auto &[name, value] : attributes)
        item.append_attribute(name).set_value(value.toUtf8().constData());
    item.append_child(pugi::node_pcdata).set_value(cellInfo.toUtf8().constData());
    return true;
}

void CalendarWeekStore::RemoveAllFXCalendar()
{
    for (int weekIndex = 1; weekIndex <= 5; ++weekIndex)
        RemoveWeekFXCalendar(weekIndex);
}

void CalendarWeekStore::RemoveWeekFXCalendar(int weekIndex)
{
    pugi::xml_node items = day(weekIndex);
    while (items && items.last_child())
        items.remove_child(items.last_child());
}
