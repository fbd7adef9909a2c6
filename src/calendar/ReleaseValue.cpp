#include "calendar/ReleaseValue.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace ReleaseValue {

namespace {

std::optional<double> single(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^([+-]?)(\\d+(?:\\.\\d*)?|\\.\\d+)\\s*(%|[KkMmBbTt]|千|万|亿)?\\p{Han}*$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    double value = match.captured(2).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const QString unit = match.captured(3).toUpper();
    if (unit == QStringLiteral("K") || unit == QStringLiteral("千"))
        value *= 1e3;
    else if (unit == QStringLiteral("万"))
        value *= 1e4;
    else if (unit == QStringLiteral("M"))
        value *= 1e6;
    else if (unit == QStringLiteral("亿"))
        value *= 1e8;
    else if (unit == QStringLiteral("B"))
        value *= 1e9;
    else if (unit == QStringLiteral("T"))
        value *= 1e12;
    return match.captured(1) == QStringLiteral("-") ? -value : value;
}

} // namespace

std::optional<double> read(const QString &text)
{
    QString cleaned = text.trimmed();
    // Full-width signs and digits' separators as the sites write them.
    cleaned.replace(QChar(0xFF0D), u'-').replace(QChar(0x2212), u'-').replace(QChar(0xFF0B), u'+');
    cleaned.replace(QChar(0xFF05), u'%').replace(QChar(0xFF5E), u'~').replace(QStringLiteral("至"), QStringLiteral("~"));
    cleaned.remove(u',').remove(u' ');
    if (cleaned.isEmpty())
        return std::nullopt;
    const QStringList parts = cleaned.split(u'~');
    if (parts.size() > 2)
        return std::nullopt;
    const std::optional<double> low = single(parts.first());
    if (parts.size() == 1 || !low)
        return low;
    const std::optional<double> high = single(parts.last());
    if (!high)
        return std::nullopt;
    return (*low + *high) / 2;
}

Surprise compare(const QString &result, const QString &forecast, const QString &previous)
{
    const std::optional<double> actual = read(result);
    const std::optional<double> expected = read(forecast.trimmed().isEmpty() ? previous : forecast);
    if (!actual || !expected)
        return Surprise::None;
    const double tolerance = 1e-9 * std::max({std::abs(*actual), std::abs(*expected), 1.0});
    if (std::abs(*actual - *expected) <= tolerance)
        return Surprise::Meets;
    return *actual > *expected ? Surprise::Above : Surprise::Below;
}

QString mark(Surprise surprise)
{
    switch (surprise) {
    case Surprise::Above: return QStringLiteral("▲");
    case Surprise::Below: return QStringLiteral("▼");
    default: return {};
    }
}

QString className(Surprise surprise)
{
    switch (surprise) {
    case Surprise::Above: return QStringLiteral("above");
    case Surprise::Below: return QStringLiteral("below");
    case Surprise::Meets: return QStringLiteral("meets");
    default: return {};
    }
}

QString words(Surprise surprise)
{
    switch (surprise) {
    case Surprise::Above: return QStringLiteral("高于预期");
    case Surprise::Below: return QStringLiteral("低于预期");
    case Surprise::Meets: return QStringLiteral("符合预期");
    default: return {};
    }
}

} // namespace ReleaseValue
