#pragma once

#include <QString>

#include <optional>

// A released figure of the calendar read as a number, whatever its unit, and
// how a result compares with what was expected of it.
namespace ReleaseValue {

// "3.5%", "-0.2", "+12.5K", "250K" (thousands), "1.2M", "3B", "5.2万", "3.4亿",
// "1.0~1.2" (a range counts by its middle); a trailing Chinese unit word
// ("万人", "亿美元") is allowed. Nothing for text that is no number.
std::optional<double> read(const QString &text);

enum class Surprise { None, Above, Below, Meets };

// The result against the forecast, or against the previous value when there
// is no forecast; None when either is no number.
Surprise compare(const QString &result, const QString &forecast, const QString &previous);

// "▲" / "▼" / "" and the class of the result's cell ("above", "below", "meets", "").
QString mark(Surprise surprise);
QString className(Surprise surprise);
// "高于预期" / "低于预期" / "符合预期" / "".
QString words(Surprise surprise);

} // namespace ReleaseValue
