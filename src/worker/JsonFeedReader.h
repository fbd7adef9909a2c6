#pragma once

#include "worker/Feed.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// JSON Feed 1.0 and 1.1, recognised by the address in its "version".
namespace JsonFeedReader {

// Nothing, with `error` set, when the text is no JSON Feed.
std::optional<Feed> read(const QByteArray &utf8, const QString &url, const QDateTime &now, QString *error);

} // namespace JsonFeedReader
