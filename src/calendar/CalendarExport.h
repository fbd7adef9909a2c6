#pragma once

#include <QByteArray>
#include <QDateTime>

class CalendarWeekStore;

// The stored week as an iCalendar file (RFC 5545), made by libical: one
// event per stored item, its start in UTC, five minutes long, the values in
// its description, the importance as its category, and an alarm `lead`
// minutes before it for each item whose reminder is on. Text from the site
// goes into the file only through the library, which escapes it.
namespace CalendarExport {

constexpr int DurationMinutes = 5;

// Empty when no week is stored. `stamp`: when the file is made (DTSTAMP).
QByteArray write(const CalendarWeekStore &store, int leadMinutes, const QDateTime &stamp);

} // namespace CalendarExport
