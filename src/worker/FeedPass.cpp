#include "worker/FeedPass.h"

#include <algorithm>

namespace FeedPass {

QString keyOf(const FeedItem &item)
{
    if (!item.id.isEmpty())
        return item.id;
    if (!item.link.isEmpty())
        return item.link;
    return item.title + u'\n' + (item.published ? item.published->toString(Qt::ISODate) : QString());
}

QList<KeyedItem> newItems(const Feed &feed, const QSet<QString> &known)
{
    QList<KeyedItem> fresh;
    QSet<QString> seen;
    for (const FeedItem &item : feed.items) {
        const QString key = keyOf(item);
        if (key.trimmed().isEmpty() || known.contains(key) || seen.contains(key))
            continue;
        seen.insert(key);
        fresh.append({key, item});
    }
    // Feeds list their newest first, most of the time: what has no date keeps
    // its place behind the dated items after it, as the feed wrote it.
    std::reverse(fresh.begin(), fresh.end());
    QList<std::pair<QDateTime, KeyedItem>> dated;
    QDateTime carried;
    for (const KeyedItem &keyed : std::as_const(fresh)) {
        if (keyed.item.published)
            carried = *keyed.item.published;
        dated.append({carried, keyed});
    }
    std::stable_sort(dated.begin(), dated.end(), [](const auto &a, const auto &b) {
        return a.first.isValid() && b.first.isValid() ? a.first < b.first : !a.first.isValid() && b.first.isValid();
    });
    fresh.clear();
    for (const auto &[date, keyed] : std::as_const(dated))
        fresh.append(keyed);
    if (known.isEmpty()) {
        for (qsizetype i = 0; i < fresh.size() - FirstFetchLimit; ++i)
            fresh[i].quiet = true;
    }
    return fresh;
}

bool isImportant(const FeedItem &item)
{
    for (const QString &category : item.categories) {
        const QString text = category.trimmed();
        if (text == QStringLiteral("重要") || text.compare(QStringLiteral("important"), Qt::CaseInsensitive) == 0
            || text == QStringLiteral("加红"))
            return true;
    }
    return false;
}

} // namespace FeedPass
