#include "calendar/CalendarCountdown.h"

CalendarCountdown CalendarCountdown::next(const QList<CalendarWeekStore::Item> &today, const QDateTime &beijing)
{
    const CalendarWeekStore::Item *next = nullptr;
    QDateTime nextAt;
    for (const CalendarWeekStore::Item &item : today) {
        // Items without a time of day ("待定", "全天") count down to nothing.
        const QTime time = QTime::fromString(item.time.trimmed().left(5), QStringLiteral("HH:mm"));
        if (!time.isValid())
            continue;
        QDateTime at = beijing;
        at.setTime(time);
        if (at > beijing && (!next || at < nextAt)) {
            next = &item;
            nextAt = at;
        }
    }
    if (!next)
        return {{}, AllPublished, {}};
    return {nextAt.toString(QStringLiteral("HH:mm")), next->info,
            QStringLiteral("还有 ") + duration(beijing.secsTo(nextAt))};
}

QString CalendarCountdown::duration(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 rest = seconds % 60;
    if (hours > 0)
        return QStringLiteral("%1小时%2分%3秒").arg(hours).arg(minutes, 2, 10, QChar(u'0')).arg(rest, 2, 10, QChar(u'0'));
    if (minutes > 0)
        return QStringLiteral("%1分%2秒").arg(minutes).arg(rest, 2, 10, QChar(u'0'));
    return QStringLiteral("%1秒").arg(rest);
}
