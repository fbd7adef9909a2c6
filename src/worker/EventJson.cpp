#include "worker/EventJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace EventJson {

namespace {

// A JSON string literal; the fields are written by hand to keep their order.
QByteArray quoted(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray head(const char *event, qint32 sourceId)
{
    return QByteArray("{\"event\":\"") + event + "\",\"id\":" + QByteArray::number(sourceId);
}

} // namespace

QByteArray line(qint32 sourceId, const ParseEvent &event)
{
    switch (event.kind) {
    case ParseEvent::Msg:
        return head("GetMsg", sourceId) + ",\"time\":" + quoted(event.cellTime) + ",\"info\":" + quoted(event.cellInfo)
            + ",\"href\":" + quoted(event.href) + ",\"popup\":" + quoted(event.popup) + "}\n";
    case ParseEvent::Complete:
        return head("GetComplete", sourceId) + ",\"new\":" + (event.isNew ? "true" : "false") + "}\n";
    case ParseEvent::Error:
        return head("GetError", sourceId) + ",\"msg\":" + quoted(event.message) + "}\n";
    }
    return {};
}

QByteArray itemLine(const QString &key, const FeedItem &item, bool important)
{
    QByteArray categories;
    for (const QString &category : item.categories)
        categories += (categories.isEmpty() ? "" : ",") + quoted(category);
    return "{\"event\":\"GetItem\",\"key\":" + quoted(key) + ",\"title\":" + quoted(item.title) + ",\"link\":"
        + quoted(item.link) + ",\"published\":"
        + (item.published ? quoted(item.published->toUTC().toString(Qt::ISODate)) : QByteArray("null"))
        + ",\"summary\":" + quoted(item.summary) + ",\"categories\":[" + categories + "],\"important\":"
        + (important ? "true" : "false") + "}\n";
}

QByteArray errorLine(const QString &message, int retryAfterSeconds)
{
    return "{\"event\":\"GetError\",\"msg\":" + quoted(message) + ",\"retryAfter\":"
        + QByteArray::number(retryAfterSeconds) + "}\n";
}

QByteArray probeLine(int items, const QString &newestTitle)
{
    return "{\"event\":\"Probe\",\"items\":" + QByteArray::number(items) + ",\"newest\":" + quoted(newestTitle) + "}\n";
}

QByteArray timeoutLine(qint32 sourceId)
{
    return head("GetTimeout", sourceId) + "}\n";
}

} // namespace EventJson
