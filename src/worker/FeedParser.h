#pragma once

#include "worker/Feed.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// A feed from the bytes of its body as fetched: RSS, RDF, Atom or JSON Feed,
// in the encoding the body, its Content-Type or its declaration says.
namespace FeedParser {

// Nothing, with `error` saying why in one line, when the body is no feed.
// `url` is the feed's address (for relative links), `now` the time in UTC
// (for dates written without a year).
std::optional<Feed> parse(const QByteArray &body, const QString &contentType, const QString &url,
                          const QDateTime &now, QString *error);

} // namespace FeedParser
