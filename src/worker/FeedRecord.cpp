#include "worker/FeedRecord.h"

#include "protocol/SourceId.h"
#include "worker/PopupSnippet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace FeedRecord {

QString write(const FeedPass::KeyedItem &keyed, const QDateTime &now)
{
    const FeedItem &item = keyed.item;
    // Shown as the sites show their times: Beijing time, month and day first.
    const QString time = item.published.value_or(now).toOffsetFromUtc(8 * 3600).toString(QStringLiteral("MM-dd HH:mm"));
    const QString icon = SourceId::icon(QString());
    const QString popup = item.link.isEmpty()
        ? PopupSnippet::plain(icon, time, item.title)
        : PopupSnippet::linked(icon, item.link, PopupSnippet::Tail::Click, time, item.title);
    const QJsonObject record{
        {QStringLiteral("key"), keyed.key},
        {QStringLiteral("time"), time},
        {QStringLiteral("title"), item.title},
        {QStringLiteral("summary"), item.summary == item.title ? QString() : item.summary},
        {QStringLiteral("link"), item.link},
        {QStringLiteral("categories"), QJsonArray::fromStringList(item.categories)},
        {QStringLiteral("important"), FeedPass::isImportant(item)},
        {QStringLiteral("popup"), popup},
        {QStringLiteral("quiet"), keyed.quiet},
    };
    return QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact));
}

} // namespace FeedRecord
