#pragma once

#include "worker/Feed.h"

#include <QByteArray>

// The JSON object in which `torvel --parse-feed` and `--parse-page` print a
// feed: kind, title, link and the items with id, title, link, published
// (UTC, "YYYY-MM-DDTHH:MM:SSZ", or null), summary and categories.
namespace FeedJson {

QByteArray write(const Feed &feed);

} // namespace FeedJson
