#pragma once

#include "news/NewsItem.h"
#include "news/NewsSource.h"
#include "news/cMultGet.h"

#include <QObject>

#include <map>
#include <memory>

// The owner of the source workers, one for each source, made at its first
// fetch. Routes each fetch to the worker of its source, and is the boundary
// where the workers' messages become NewsItem records.
class OOP : public QObject
{
    Q_OBJECT

public:
    explicit OOP(QObject *parent = nullptr);

    // Starts a pass of the source: known, the text (or for a feed the keys,
    // one a line) of what it reported before; url, the address to fetch.
    void fetch(const NewsSource &source, const QString &known, const QString &url);
    // A source that is gone: its worker ends.
    void drop(int ID) { m_workers.erase(ID); }

Q_SIGNALS:
    void GetNews(const NewsItem &item);
    void GetComplete(int iID, bool iNew);
    void GetTimeout(int iID);
    void GetError(int iID, const QString &iMsg);
    void GetRetry(int iID, int iSeconds);

private:
    cMultGet &worker(int id);
    // What the worker of a source that is not one of the six reads it as (see cMultGet.rep).
    static QString describe(const NewsSource &source);

    std::map<int, std::unique_ptr<cMultGet>> m_workers;
    std::map<int, bool> m_composite; // by source: its messages carry a composite text
};
