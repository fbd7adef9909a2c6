#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <pugixml.hpp>

class cls_Config;

// The stored calendar week inside the configuration: items under
// FXCalendar/Week1..Week5 (Monday..Friday), one element each, the event's
// text as its content and its values as attributes.
class CalendarWeekStore
{
public:
    // One stored item, as text.
    struct Item
    {
        QString time, notify, before, predict, result, importance, comment, info;
        QString revisedFrom; // "RevisedFrom": the previous value before a later page changed it
    };

    explicit CalendarWeekStore(cls_Config &config);

    // The items of a day (none for a day not stored), without any box.
    QList<Item> items(int weekIndex) const;
    // One attribute ("Notify", "Result", ...) or the text of the index-th item.
    void setItemAttribute(int weekIndex, int index, const char *name, const QString &value);
    void setItemText(int weekIndex, int index, const QString &text);
    QString eventList(int weekIndex) const;
    void setEventList(int weekIndex, const QString &eventList);
    // The Monday of the stored week: written as year-month-day without
    // leading zeros, read in that form or as ISO; invalid when unreadable.
    QDate dateFrom() const;
    void setDateFrom(const QDate &monday);

    bool AddFXCalendar(int weekIndex, const QString &cellTime, const QString &cellInfo,
                       const QString &beforeValue, const QString &predictValue,
                       const QString &result, const QString &importance,
                       const QString &comment, const QString &notify = QStringLiteral("1"));
    void RemoveAllFXCalendar();
    void RemoveWeekFXCalendar(int weekIndex);

private:
    pugi::xml_node day(int weekIndex) const;
    pugi::xml_node item(int weekIndex, int index) const;

    cls_Config &m_config;
};
