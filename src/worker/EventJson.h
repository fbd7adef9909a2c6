#pragma once

#include "worker/Feed.h"
#include "worker/ParseEvent.h"

#include <QByteArray>

// The one-line JSON form in which the command-line tools print worker events.
namespace EventJson {

QByteArray line(qint32 sourceId, const ParseEvent &event);
QByteArray timeoutLine(qint32 sourceId);
// A new item of a feed or page source, and a failure of such a source's pass
// (with the pause the server asked for, 0 for none).
QByteArray itemLine(const QString &key, const FeedItem &item, bool important);
QByteArray errorLine(const QString &message, int retryAfterSeconds);
// What a probe of a feed or page source found: its number of items and the newest title.
QByteArray probeLine(int items, const QString &newestTitle);

} // namespace EventJson
