#pragma once

#include "worker/Feed.h"

#include <QList>
#include <QSet>
#include <QString>

// Which items of a feed or page source are news: those whose key is not
// known yet, oldest first, and on a source's first fetch only its newest few
// (a new source shows its latest news, not a storm of popups); the older
// ones of that fetch come first as quiet items, known but never shown.
namespace FeedPass {

constexpr int FirstFetchLimit = 20;

struct KeyedItem
{
    QString key;
    FeedItem item;
    bool quiet = false;
};

// An item's key: its id, else its link, else its title and date.
QString keyOf(const FeedItem &item);

// `known` empty means the source's first fetch.
QList<KeyedItem> newItems(const Feed &feed, const QSet<QString> &known);

// Whether an item carries the mark feeds give what matters ("重要",
// "important", "加红" as a category).
bool isImportant(const FeedItem &item);

} // namespace FeedPass
