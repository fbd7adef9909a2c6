#pragma once

#include "calendar/CalendarWeekStore.h"

#include <QDateTime>
#include <QList>
#include <QString>

// What the calendar's header says about the rest of the day: the next event
// of today that has not passed, and how long until it.
struct CalendarCountdown
{
    static inline const QString AllPublished = QStringLiteral("今日事件已全部公布");

    QString time;   // "HH:mm"; empty when no event is left
    QString text;   // the event's text, or AllPublished
    QString left;   // "还有 12分30秒"; empty when no event is left

    // `today`: today's stored items; `beijing`: now, in the calendar's time.
    static CalendarCountdown next(const QList<CalendarWeekStore::Item> &today, const QDateTime &beijing);
    // "1小时02分30秒", "12分30秒", "45秒".
    static QString duration(qint64 seconds);

    bool operator==(const CalendarCountdown &) const = default;
};
