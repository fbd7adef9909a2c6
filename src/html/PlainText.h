#pragma once

#include <QString>

// Remote text as one line of plain text, for titles and summaries.
namespace PlainText {

// Markup read as a browser reads it: entities decoded, markup removed, script
// and style bodies dropped, block elements and <br> a blank, white space folded.
QString fromHtml(const QString &html);
// Text that is already plain, with its white space folded.
QString folded(const QString &text);
// The text of the HTML named character reference `&name;`; empty when HTML
// has no such entity.
QString namedEntity(const QString &name);

} // namespace PlainText
