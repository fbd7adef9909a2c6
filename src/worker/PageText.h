#pragma once

#include <QString>


// Text helpers of the source parsers: cutting lists out of raw page text and
// making outside text safe inside the popup's HTML.
namespace PageText {

// Outside text inside the HTML the worker hands on, where "~" separates
// snippets and the DailyFX key: escaped as markup, and "~" as &#126;.
QString displayText(const QString &text);

// A link written inside a single-quoted script string that itself stands in a
// double-quoted attribute: characters that could end either, and the snippet
// separator "~", are percent-encoded, and & is written as an entity.
QString snippetLink(const QString &url);

// Whether text occurs in known, as the known-items test compares: exact,
// case-sensitive, anywhere; an empty known text contains nothing, and an empty
// text occurs in any other known text.
bool occursIn(const QString &known, const QString &text);

// The value of the leading decimal digits after leading blanks; 0 without digits.
int leadingNumber(const QString &text);

} // namespace PageText
