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

QList<CalendarWeekStore::Item> CalendarWeekStore::items(int weekIndex) const
{
    QList<Item> items;
    for (const pugi::xml_node &node : day(weekIndex).children("Item")) {
        auto text = [&node](const char *name) { return QString::fromUtf8(node.attribute(name).value()); };
        items.append({text("Time"), text("Notify"), text("BeforeValue"), text("PredictValue"), text("Result"),
                      text("Importance"), text("Comment"), QString::fromUtf8(node.child_value()), text("RevisedFrom")});
    }
    return items;
}

pugi::xml_node CalendarWeekStore::item(int weekIndex, int index) const
{
    int i = 0;
    for (const pugi::xml_node &node : day(weekIndex).children("Item")) {
        if (i++ == index)
            return node;
    }
    return {};
}

void CalendarWeekStore::setItemAttribute(int weekIndex, int index, const char *name, const QString &value)
{
    pugi::xml_node node = item(weekIndex, index);
    if (!node)
        return;
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        attribute = node.append_attribute(name);
    attribute.set_value(value.toUtf8().constData());
}

void CalendarWeekStore::setItemText(int weekIndex, int index, const QString &text)
{
    pugi::xml_node node = item(weekIndex, index);
    if (!node)
        return;
    while (node.first_child())
        node.remove_child(node.first_child());
    node.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

QString CalendarWeekStore::eventList(int weekIndex) const
{
    return QString::fromUtf8(day(weekIndex).attribute("Event").value());
}

void CalendarWeekStore::setEventList(int weekIndex, const QString &eventList)
{
    if (weekIndex >= 1 && weekIndex <= 5)
        m_config.CreateAttrib(ConfigPaths::calendarDay(weekIndex), ConfigPaths::Event, eventList);
}

QDate CalendarWeekStore::dateFrom() const
{
    const QString text = QString::fromUtf8(m_config.node(ConfigPaths::CalendarWeek).attribute("DateFrom").value()).trimmed();
    for (const QString &format : {QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy/M/d")}) {
        const QDate date = QDate::fromString(text, format);
        if (date.isValid())
            return date;
    }
    return {};
}

void CalendarWeekStore::setDateFrom(const QDate &monday)
{
    m_config.CreateAttrib(ConfigPaths::CalendarWeek, ConfigPaths::DateFrom, monday.toString(QStringLiteral("yyyy-M-d")));
}
