#include "worker/JsonFeedReader.h"

#include "html/PlainText.h"
#include "html/WebLink.h"
#include "worker/FeedDate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonFeedReader {

namespace {

// A string member, or a number written as JSON writes it (ids may be numbers).
QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double number = value.toDouble();
        return number == static_cast<double>(static_cast<qint64>(number)) ? QString::number(static_cast<qint64>(number))
                                                                          : QString::number(number, 'g', 17);
    }
    return {};
}

} // namespace

std::optional<Feed> read(const QByteArray &utf8, const QString &url, const QDateTime &now, QString *error)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("not a feed: not JSON (%1)").arg(parseError.errorString());
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    const QString version = textOf(root.value(QStringLiteral("version")));
    if (!version.contains(QStringLiteral("jsonfeed.org/version/"))) {
        *error = QStringLiteral("not a feed: JSON without a JSON Feed version");
        return std::nullopt;
    }
    // Links are relative to the feed's address, else to the address it names for itself.
    const QString base = url.isEmpty() ? textOf(root.value(QStringLiteral("feed_url"))) : url;

    Feed feed;
    feed.kind = QStringLiteral("json");
    feed.title = PlainText::folded(textOf(root.value(QStringLiteral("title"))));
    feed.link = WebLink::resolve(textOf(root.value(QStringLiteral("home_page_url"))), base);
    const QJsonArray items = root.value(QStringLiteral("items")).toArray();
    feed.items.reserve(items.size());
    for (const QJsonValue &value : items) {
        if (!value.isObject())
            continue;
        const QJsonObject item = value.toObject();
        FeedItem out;
        out.id = textOf(item.value(QStringLiteral("id")));
        out.title = PlainText::folded(textOf(item.value(QStringLiteral("title"))));
        out.link = WebLink::resolve(textOf(item.value(QStringLiteral("url"))), base);
        if (out.link.isEmpty())
            out.link = WebLink::resolve(textOf(item.value(QStringLiteral("external_url"))), base);
        for (const char *key : {"date_published", "date_modified"}) {
            if (!out.published)
                out.published = FeedDate::parse(textOf(item.value(QLatin1String(key))), now);
        }
        out.summary = PlainText::folded(textOf(item.value(QStringLiteral("summary"))));
        if (out.summary.isEmpty())
            out.summary = PlainText::folded(textOf(item.value(QStringLiteral("content_text"))));
        if (out.summary.isEmpty())
            out.summary = PlainText::fromHtml(textOf(item.value(QStringLiteral("content_html"))));
        for (const QJsonValue &tag : item.value(QStringLiteral("tags")).toArray()) {
            const QString text = PlainText::folded(textOf(tag));
            if (!text.isEmpty())
                out.categories << text;
        }
        feed.items << out;
    }
    return feed;
}

} // namespace JsonFeedReader
