#pragma once

#include <QString>

#include <optional>
#include <pugixml.hpp>
#include <vector>

class cls_Config;

// The stored calendar week inside the configuration: items under
// FXCalendar/Week1..Week5 (Monday..Friday), one element each, the event's
// text as its content and its values as attributes.
class CalendarWeekStore
{
public:
    explicit CalendarWeekStore(cls_Config &config);

    // The items of one day; nothing (after the box "WeekList Error!") for a day not stored.
    std::optional<std::vector<pugi::xml_node>> WeekList(int weekIndex) const;
    bool AddFXCalendar(int weekIndex, const QString &cellTime, const QString &cellInfo,
                       const QString &beforeValue, const QString &predictValue,
                       const QString &result, const QString &importance,
                       const QString &comment, const QString &notify = QStringLiteral("1"));
    void RemoveAllFXCalendar();
    void RemoveWeekFXCalendar(int weekIndex);

private:
    pugi::xml_node day(int weekIndex) const;

    cls_Config &m_config;
};
