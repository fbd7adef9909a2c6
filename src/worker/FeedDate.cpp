#include "worker/FeedDate.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace FeedDate {

namespace {

constexpr int beijingOffset = 8 * 3600;

std::optional<int> monthOf(const QString &name)
{
    static const char *const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString lower = name.left(3).toLower();
    for (int i = 0; i < 12; ++i) {
        if (lower == QLatin1String(names[i]))
            return i + 1;
    }
    return std::nullopt;
}

// Seconds east of UTC for a zone as RFC 822 and its successors write it;
// nothing for an empty or unknown zone (read as Beijing time).
std::optional<int> zoneOffset(const QString &zone)
{
    if (zone.isEmpty())
        return std::nullopt;
    static const QRegularExpression numeric(QStringLiteral("^(?:UTC|GMT)?([+-])(\\d{1,2})(?::?(\\d{2}))?$"));
    const QRegularExpressionMatch match = numeric.match(zone.toUpper());
    if (match.hasMatch()) {
        const int seconds = match.captured(2).toInt() * 3600 + match.captured(3).toInt() * 60;
        return match.captured(1) == QStringLiteral("-") ? -seconds : seconds;
    }
    static const std::pair<const char *, int> named[] = {
        {"UT", 0},       {"UTC", 0},      {"GMT", 0},      {"Z", 0},        {"EST", -5 * 3600},
        {"EDT", -4 * 3600}, {"CST", -6 * 3600}, {"CDT", -5 * 3600}, {"MST", -7 * 3600}, {"MDT", -6 * 3600},
        {"PST", -8 * 3600}, {"PDT", -7 * 3600},
    };
    const QString upper = zone.toUpper();
    for (const auto &[name, offset] : named) {
        if (upper == QLatin1String(name))
            return offset;
    }
    // RFC 822's military letters had their signs reversed; RFC 2822 reads them as UTC.
    if (upper.size() == 1 && upper.at(0).isLetter() && upper != QStringLiteral("J"))
        return 0;
    return std::nullopt;
}

std::optional<QDateTime> build(int year, int month, int day, int hour, int minute, int second,
                               std::optional<int> offset)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second == 60 ? 59 : second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime local(date, time, QTimeZone(offset.value_or(beijingOffset)));
    return local.toUTC();
}

int fullYear(const QString &text)
{
    const int year = text.toInt();
    if (text.size() > 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

std::optional<QDateTime> rfc822(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(?:[A-Za-z]+\\.?,?\\s*)?(\\d{1,2})[\\s-]+([A-Za-z]+)\\.?[\\s-]+(\\d{2,4})"
        "(?:[\\sT]+(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?)?\\s*(\\(?[A-Za-z]{1,5}\\)?|(?:UTC|GMT)?[+-]\\d{1,2}:?\\d{2})?"
        "(?:\\s*\\([^)]*\\))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<int> month = monthOf(match.captured(2));
    if (!month)
        return std::nullopt;
    QString zone = match.captured(7);
    zone.remove(u'(').remove(u')');
    return build(fullYear(match.captured(3)), *month, match.captured(1).toInt(), match.captured(4).toInt(),
                 match.captured(5).toInt(), match.captured(6).toInt(), zoneOffset(zone));
}

// "Dec 8 2026 14:30" and "Tue Dec  8 14:30:00 2026" (asctime), as some sites write.
std::optional<QDateTime> monthFirst(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        "^(?:[A-Za-z]+,?\\s+)?([A-Za-z]+)\\.?\\s+(\\d{1,2}),?\\s+(?:(\\d{4})\\s+)?(\\d{1,2}):(\\d{2})(?::(\\d{2}))?"
        "(?:\\s+(\\d{4}))?\\s*([A-Za-z]{1,5}|[+-]\\d{2}:?\\d{2})?$"));
    const QRegularExpressionMatch match = form.match(text);
    const std::optional<int> month = match.hasMatch() ? monthOf(match.captured(1)) : std::nullopt;
    const QString year = match.hasMatch() ? match.captured(3) + match.captured(7) : QString();
    if (!month || year.size() != 4)
        return std::nullopt;
    return build(year.toInt(), *month, match.captured(2).toInt(), match.captured(4).toInt(), match.captured(5).toInt(),
                 match.captured(6).toInt(), zoneOffset(match.captured(8)));
}

// RFC 3339, the W3C forms and the sites' "2026-12-08 14:30" in all its spellings.
std::optional<QDateTime> numeric(const QString &text, const QDateTime &now)
{
    static const QRegularExpression form(QStringLiteral(
        "^(?:(\\d{4})[-/.年])?(\\d{1,2})(?:[-/.月](\\d{1,2})日?)?"
        "(?:(?:[Tt\\s]+|日)(\\d{1,2})[:时](\\d{1,2})(?:[:分](\\d{1,2})秒?)?(?:[.,]\\d+)?分?)?"
        "\\s*(Z|z|(?:UTC|GMT)?[+-]\\d{1,2}(?::?\\d{2})?|UTC|GMT)?$"));
    static const QRegularExpression yearOnly(QStringLiteral("^(\\d{4})$"));
    if (const QRegularExpressionMatch match = yearOnly.match(text); match.hasMatch())
        return build(match.captured(1).toInt(), 1, 1, 0, 0, 0, std::nullopt);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const bool hasYear = !match.captured(1).isEmpty();
    const bool hasDay = !match.captured(3).isEmpty();
    // "2026-12" is a W3C month; "12-08" with no year is the sites' month and day.
    if (!hasYear && !hasDay)
        return std::nullopt;
    const int month = match.captured(2).toInt();
    const int day = hasDay ? match.captured(3).toInt() : 1;
    const QString zone = match.captured(7);
    const std::optional<int> offset = zone.compare(QStringLiteral("Z"), Qt::CaseInsensitive) == 0
        ? std::optional<int>(0)
        : zoneOffset(zone);
    const auto at = [&](int year) {
        return build(year, month, day, match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt(),
                     offset);
    };
    if (hasYear)
        return at(match.captured(1).toInt());
    const int thisYear = now.toOffsetFromUtc(beijingOffset).date().year();
    const std::optional<QDateTime> guess = at(thisYear);
    if (guess && *guess > now.addDays(1))
        return at(thisYear - 1);
    return guess;
}

} // namespace

std::optional<QDateTime> parse(const QString &text, const QDateTime &now)
{
    const QString trimmed = text.simplified();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (std::optional<QDateTime> date = numeric(trimmed, now))
        return date;
    if (std::optional<QDateTime> date = rfc822(trimmed))
        return date;
    return monthFirst(trimmed);
}

} // namespace FeedDate
