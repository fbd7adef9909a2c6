#include "news/NewsItem.h"

#include "html/HtmlEscape.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

NewsItem NewsItem::fromMessage(int source, const QString &time, const QString &info, const QString &href, bool composite)
{
    NewsItem item;
    item.source = source;
    item.key = info;
    item.time = time;
    item.title = info;
    item.link = href;
    const qsizetype tilde = composite ? info.lastIndexOf(u'~') : -1;
    if (tilde < 0)
        return item;
    static const QString summaryStart = QStringLiteral("<br/><font style='color:#0000FF'>");
    static const QString summaryEnd = QStringLiteral("</font>");
    item.key = info.left(tilde);
    QString display = info.mid(tilde + 1);
    const qsizetype summary = display.indexOf(summaryStart);
    if (summary >= 0) {
        QString rest = display.mid(summary + summaryStart.size());
        if (rest.endsWith(summaryEnd))
            rest.chop(summaryEnd.size());
        item.summary = htmlUnescaped(rest);
        display.truncate(summary);
    }
    item.title = htmlUnescaped(display);
    return item;
}

NewsItem NewsItem::fromRecord(int source, const QString &record)
{
    const QJsonObject fields = QJsonDocument::fromJson(record.toUtf8()).object();
    NewsItem item;
    item.source = source;
    item.key = fields.value(QStringLiteral("key")).toString();
    item.time = fields.value(QStringLiteral("time")).toString();
    item.title = fields.value(QStringLiteral("title")).toString();
    item.summary = fields.value(QStringLiteral("summary")).toString();
    item.link = fields.value(QStringLiteral("link")).toString();
    for (const QJsonValue &category : fields.value(QStringLiteral("categories")).toArray())
        item.categories << category.toString();
    item.important = fields.value(QStringLiteral("important")).toBool();
    item.quiet = fields.value(QStringLiteral("quiet")).toBool();
    return item;
}
