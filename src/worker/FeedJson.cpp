#include "worker/FeedJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace FeedJson {

namespace {

// A JSON string literal; the members are written by hand to keep their order.
QByteArray quoted(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray item(const FeedItem &item)
{
    QByteArray out = "{\"id\":" + quoted(item.id) + ",\"title\":" + quoted(item.title)
        + ",\"link\":" + quoted(item.link) + ",\"published\":"
        + (item.published ? quoted(item.published->toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'")))
                          : QByteArray("null"))
        + ",\"summary\":" + quoted(item.summary) + ",\"categories\":[";
    for (qsizetype i = 0; i < item.categories.size(); ++i)
        out += (i ? "," : "") + quoted(item.categories.at(i));
    return out + "]}";
}

} // namespace

QByteArray write(const Feed &feed)
{
    QByteArray out = "{\"kind\":" + quoted(feed.kind) + ",\"title\":" + quoted(feed.title)
        + ",\"link\":" + quoted(feed.link) + ",\"items\":[";
    for (qsizetype i = 0; i < feed.items.size(); ++i) {
        if (i)
            out += ",\n";
        out += item(feed.items.at(i));
    }
    return out + "]}\n";
}

} // namespace FeedJson
