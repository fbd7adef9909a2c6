#include "calendar/CalendarWeekStore.h"

#include "core/ConfigPaths.h"
#include "core/MessageSink.h"
#include "core/cls_Config.h"

namespace Stored = ConfigPaths::CalendarItem;

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
    pugi::xml_node item = items.append_child(Stored::Element);
    const std::pair<const char *, const QString &> attributes[] = {
        {Stored::Time, cellTime},         {Stored::Notify, notify}, {Stored::Before, beforeValue},
        {Stored::Predict, predictValue}, {Stored::Result, result}, {Stored::Importance, importance},
        {Stored::Comment, comment},
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
    for (const pugi::xml_node &node : day(weekIndex).children(Stored::Element)) {
        auto text = [&node](const char *name) { return QString::fromUtf8(node.attribute(name).value()); };
        items.append({text(Stored::Time), text(Stored::Notify), text(Stored::Before), text(Stored::Predict),
                      text(Stored::Result), text(Stored::Importance), text(Stored::Comment),
                      QString::fromUtf8(node.child_value()), text(Stored::RevisedFrom)});
    }
    return items;
}

pugi::xml_node CalendarWeekStore::item(int weekIndex, int index) const
{
    int i = 0;
    for (const pugi::xml_node &node : day(weekIndex).children(Stored::Element)) {
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
    return weekIndex >= 1 && weekIndex <= 5 ? m_config.value(ConfigPaths::calendarDay(weekIndex), ConfigPaths::Event) : QString();
}

void CalendarWeekStore::setEventList(int weekIndex, const QString &eventList)
{
    if (weekIndex >= 1 && weekIndex <= 5)
        m_config.CreateAttrib(ConfigPaths::calendarDay(weekIndex), ConfigPaths::Event, eventList);
}

QDate CalendarWeekStore::dateFrom() const
{
    const QString text = m_config.value(ConfigPaths::CalendarWeek, ConfigPaths::DateFrom).trimmed();
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
