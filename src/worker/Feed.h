#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One item of a feed or of a page read by selectors, as plain text.
struct FeedItem
{
    QString id;                          // guid, Atom id, rdf:about or JSON id as written; may be empty
    QString title;
    QString link;                        // absolute http(s) address, or empty
    std::optional<QDateTime> published;  // UTC
    QString summary;
    QStringList categories;
};

// A feed as read: its kind ("rss", "rdf", "atom", "json" or "page"), its
// title and link, and its items in document order.
struct Feed
{
    QString kind;
    QString title;
    QString link;
    QList<FeedItem> items;
};
