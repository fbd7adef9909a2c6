#include "news/OOP.h"

#include "protocol/SourceId.h"

#include <QJsonDocument>
#include <QJsonObject>

OOP::OOP(QObject *parent)
    : QObject(parent)
{
}

cMultGet &OOP::worker(int id)
{
    std::unique_ptr<cMultGet> &worker = m_workers[id];
    if (worker)
        return *worker;
    worker = std::make_unique<cMultGet>();
    connect(worker.get(), &cMultGet::GetMsg, this,
            [this](int iID, const QString &time, const QString &info, const QString &href, const QString &) {
                Q_EMIT GetNews(NewsItem::fromMessage(iID, time, info, href, m_composite[iID]));
            });
    connect(worker.get(), &cMultGet::GetItem, this,
            [this](int iID, const QString &record) { Q_EMIT GetNews(NewsItem::fromRecord(iID, record)); });
    connect(worker.get(), &cMultGet::GetComplete, this, &OOP::GetComplete);
    connect(worker.get(), &cMultGet::GetTimeout, this, &OOP::GetTimeout);
    connect(worker.get(), &cMultGet::GetError, this, &OOP::GetError);
    connect(worker.get(), &cMultGet::GetRetry, this, &OOP::GetRetry);
    return *worker;
}

void OOP::fetch(const NewsSource &source, const QString &known, const QString &url)
{
    m_composite[source.id] = source.compositeInfo;
    // The six go by the ids the worker knows them by; any other source says what it is.
    if (SourceId::isSource(source.id))
        worker(source.id).GetWebContent(known, source.id, url);
    else
        worker(source.id).GetFeedContent(known, source.id, url, describe(source));
}

QString OOP::describe(const NewsSource &source)
{
    const QJsonObject description{{QStringLiteral("kind"), source.kind},
                                  {QStringLiteral("item"), source.itemSelector},
                                  {QStringLiteral("title"), source.titleSelector},
                                  {QStringLiteral("link"), source.linkSelector},
                                  {QStringLiteral("time"), source.timeSelector},
                                  {QStringLiteral("summary"), source.summarySelector}};
    return QString::fromUtf8(QJsonDocument(description).toJson(QJsonDocument::Compact));
}
