#pragma once

#include <QString>

// The six news sources, by the ids the worker and the main program share.
// The worker's GetWebContent names a source's page parser by these ids; any
// other source names its kind in the description of GetFeedContent.
enum ResID : qint32 {
    s_FXark = 100,
    s_FX168 = 101,
    s_FX678 = 102,
    s_Dailyfx = 103,
    s_HeXun = 104,
    s_CaiXun = 105,
};

namespace SourceId {

bool isSource(qint32 id);
// FXark, FX168, ... as the configuration names them; empty for other ids.
// A built-in source's name is also the kind of its page parser.
QString name(qint32 id);
// The id of a source name (any case) or of its decimal id; 0 when neither.
qint32 fromText(const QString &text);
// A page parser's kind as written in any case ("fx168") in its own spelling
// (as the built-in source is named); empty when the text names no page parser.
QString pageKind(const QString &text);
// Pages of these kinds are UTF-8; the others are GBK (read as GB18030).
bool isUtf8(const QString &kind);
// The popup page's icon of the items of a kind of page; a feed's (any other
// kind) have the "new" one.
QString icon(const QString &kind);

} // namespace SourceId
