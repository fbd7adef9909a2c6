#include "calendar/CalendarExport.h"

#include "calendar/CalendarWeekStore.h"

#include <QCryptographicHash>
#include <QTimeZone>

#include <libical/ical.h>

#include <memory>

namespace CalendarExport {

namespace {

constexpr int BeijingOffset = 8 * 3600;

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype utcTime(const QDateTime &instant)
{
    return icaltime_from_timet_with_zone(static_cast<time_t>(instant.toSecsSinceEpoch()), 0,
                                         icaltimezone_get_utc_timezone());
}

// The same event on the same day and minute keeps its UID, however often it is exported.
QByteArray uidOf(const QDate &date, const QString &time, const QString &text)
{
    const QByteArray key = date.toString(Qt::ISODate).toUtf8() + ' ' + time.toUtf8() + ' ' + text.toUtf8();
    return QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex() + "@calendar.tessaly";
}

QString description(const CalendarWeekStore::Item &item)
{
    QStringList lines;
    if (!item.before.isEmpty())
        lines << QStringLiteral("前值: ") + item.before;
    if (!item.predict.isEmpty())
        lines << QStringLiteral("市场预测: ") + item.predict;
    if (!item.result.isEmpty() && item.result != QStringLiteral("?"))
        lines << QStringLiteral("结果: ") + item.result;
    return lines.join(u'\n');
}

} // namespace

QByteArray write(const CalendarWeekStore &store, int leadMinutes, const QDateTime &stamp)
{
    const QDate monday = store.dateFrom();
    if (!monday.isValid())
        return {};
    Component calendar(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                           icalproperty_new_prodid("-//Tessaly//Economic Calendar//ZH"),
                                           icalproperty_new_calscale("GREGORIAN"), static_cast<void *>(nullptr)));
    int events = 0;
    for (int day = 1; day <= 5; ++day) {
        const QDate date = monday.addDays(day - 1);
        for (const CalendarWeekStore::Item &item : store.items(day)) {
            const QTime time = QTime::fromString(item.time.trimmed().left(5), QStringLiteral("HH:mm"));
            icalcomponent *event = icalcomponent_new_vevent();
            icalcomponent_add_property(event, icalproperty_new_uid(uidOf(date, item.time, item.info).constData()));
            icalcomponent_add_property(event, icalproperty_new_dtstamp(utcTime(stamp)));
            if (time.isValid()) {
                icalcomponent_add_property(event, icalproperty_new_dtstart(utcTime(QDateTime(date, time, QTimeZone(BeijingOffset)))));
                icalcomponent_add_property(event, icalproperty_new_duration(icaldurationtype_from_int(DurationMinutes * 60)));
            } else {
                // No time of day on the page: the event is the day's.
                icaltimetype whole = icaltime_null_date();
                whole.year = date.year();
                whole.month = date.month();
                whole.day = date.day();
                icalcomponent_add_property(event, icalproperty_new_dtstart(whole));
            }
            const QByteArray summary = item.info.toUtf8();
            icalcomponent_add_property(event, icalproperty_new_summary(summary.constData()));
            if (const QString text = description(item); !text.isEmpty())
                icalcomponent_add_property(event, icalproperty_new_description(text.toUtf8().constData()));
            if (!item.importance.isEmpty())
                icalcomponent_add_property(event, icalproperty_new_categories(item.importance.toUtf8().constData()));
            // "1": to be reminded of; "2": reminded already. Both stay reminders in the user's calendar.
            if (time.isValid() && (item.notify == QStringLiteral("1") || item.notify == QStringLiteral("2"))) {
                icaltriggertype trigger{};
                trigger.time = icaltime_null_time();
                trigger.duration = icaldurationtype_from_int(-leadMinutes * 60);
                icalcomponent *alarm = icalcomponent_vanew(ICAL_VALARM_COMPONENT, icalproperty_new_action(ICAL_ACTION_DISPLAY),
                                                           icalproperty_new_trigger(trigger),
                                                           icalproperty_new_description(summary.constData()),
                                                           static_cast<void *>(nullptr));
                icalcomponent_add_component(event, alarm);
            }
            icalcomponent_add_component(calendar.get(), event);
            ++events;
        }
    }
    if (events == 0)
        return {};
    char *text = icalcomponent_as_ical_string_r(calendar.get());
    const QByteArray file(text);
    icalmemory_free_buffer(text);
    return file;
}

} // namespace CalendarExport
