#pragma once

#include "html/HtmlDocument.h"
#include "worker/CappedBody.h"
#include "worker/FeedPass.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class FeedFetcher;
class QNetworkAccessManager;
class QNetworkReply;

// One fetch-and-parse pass at a time for one news source: GetWebContent arms a
// 10 ms timer and returns; the request then runs on this object's thread and is
// polled every 100 ms until it completes (decode, parse, events) or the 101st
// poll gives up with Timeout. Every signal carries the id of its pass.
class cMultGetWorker : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 MaxBodyBytes = 8 * 1024 * 1024;
    static constexpr int StartDelayMs = 10;
    static constexpr int PollMs = 100;
    static constexpr int MaxPolls = 100;

    explicit cMultGetWorker(QObject *parent = nullptr);
    ~cMultGetWorker() override;

public Q_SLOTS:
    void GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl);
    // A feed or page source's pass (see cMultGet.rep for the arguments).
    void GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource);

Q_SIGNALS:
    void Msg(int iID, const QString &iCellTime, const QString &iCellInfo, const QString &iHref, const QString &iPopup);
    void Complete(int iID, bool iNew);
    void Timeout(int iID);
    void IError(int iID, const QString &iMsg);
    void Item(int iID, const QString &iRecord);
    void Retry(int iID, int iSeconds);
    // After the last event of a pass, or after the fetch of a page no parser reads.
    void PassEnded(int iID);

private:
    // A pass over a page read by the parser of its kind.
    void startPage(const QString &kind, const QString &known, int id, const QString &url);
    void StartRequest();
    void pollState();
    void releaseRequest();
    void finishPass(const QByteArray &body);
    void reportItem(int id, const FeedPass::KeyedItem &keyed);

    QNetworkAccessManager *m_network;
    QTimer m_requestTimer;
    QTimer m_stateTimer;
    QNetworkReply *m_request = nullptr;
    CappedBody m_body{MaxBodyBytes};
    int m_ticks = 0;
    int m_id = 0;
    QString m_kind; // the page parser's; empty for an id that has none
    QString m_htmlSource;
    QString m_url;
    HtmlDocument m_webDoc;
    FeedFetcher *m_feed = nullptr; // made at the first feed pass
    int m_feedId = 0;
};
