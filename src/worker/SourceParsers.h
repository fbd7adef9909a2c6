#pragma once

#include "worker/ParseEvent.h"

#include <QString>

class HtmlDocument;

// The parsers of the six kinds of news page, by kind (a built-in source's name). Each turns a decoded page into the
// events of one pass: a Msg per new item, oldest first, then Complete; or an
// Error in place of whatever would have followed.
namespace SourceParsers {

// known: the caller's text of items it already has. pageUrl: the address the
// page came from, against which links are resolved. A kind that names no
// parser gives no events. The document is the worker's own, reused between passes.
ParseEvents parse(const QString &kind, const QString &page, const QString &known, const QString &pageUrl,
                  HtmlDocument &document);

// A CaiXun time such as "2026-09-05 14:30" or "9-5 14:30:00" as "09-05 14:30";
// anything that is not a date and time comes back unchanged.
QString caiXunTime(const QString &text);

} // namespace SourceParsers
