#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The dates of feeds and news pages: RFC 822 (named and numeric zones, or
// none), RFC 3339 and the W3C forms (fractional seconds dropped, a date alone
// allowed), and the forms Chinese sites write ("2026-12-08 14:30:00",
// "2026/12/08 14:30", "2026年12月8日 14:30", "12-08 14:30"). A date or time
// without a zone is Beijing time; a date alone is Beijing midnight.
namespace FeedDate {

// In UTC; nothing for text that is no date. `now` (UTC) gives the year of a
// date written without one: the latest year that does not put it more than
// a day ahead of now.
std::optional<QDateTime> parse(const QString &text, const QDateTime &now);

} // namespace FeedDate
