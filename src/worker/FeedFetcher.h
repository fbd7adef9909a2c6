#pragma once

#include "worker/CappedBody.h"
#include "worker/Feed.h"
#include "worker/FeedPass.h"
#include "worker/PageSelectors.h"

#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

// How a feed or page source is read: its kind ("auto", "rss", "atom",
// "json" decide from the content; "page" reads by selectors).
struct FeedSource
{
    QString kind = QStringLiteral("auto");
    PageSelectors selectors;
};

// One fetch at a time of one feed or page source, on the thread it lives in:
// conditional requests (a 304 is a pass with nothing new), redirects followed
// up to five times and never from https to http, bodies capped (gzip
// accepted and counted unpacked), a transfer time-out and an overall
// deadline, and Retry-After honoured with 429 and 503.
class FeedFetcher : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 MaxBodyBytes = 8 * 1024 * 1024;
    static constexpr int MaxRedirects = 5;
    static constexpr int IdleTimeoutMs = 10000;
    static constexpr int DeadlineMs = 30000;

    explicit FeedFetcher(QObject *parent = nullptr);
    ~FeedFetcher() override;

    // `known`: the keys reported before; empty on the source's first fetch.
    void fetch(const QString &url, const FeedSource &source, const QSet<QString> &known);

Q_SIGNALS:
    // The body was read as a feed: all its items, before the new ones are told.
    void read(const Feed &feed);
    // The new items of a pass, oldest first (quiet ones among them), then its
    // end: news when an item is to be shown.
    void item(const FeedPass::KeyedItem &item);
    void completed(bool news);
    // The pass failed; `retryAfterSeconds` > 0 when the server asked for a pause.
    void failed(const QString &message, int retryAfterSeconds);
    void timedOut();

private:
    void onFinished();
    void release();
    void fail(const QString &message, int retryAfterSeconds = 0);

    QNetworkAccessManager *m_network;
    QNetworkReply *m_reply = nullptr;
    QTimer m_deadline;
    CappedBody m_body{MaxBodyBytes};
    bool m_overDeadline = false;
    QString m_url;
    FeedSource m_source;
    QSet<QString> m_known;
    // Validators of the last body read, for the next request of the same address.
    QString m_validatedUrl;
    QByteArray m_etag;
    QByteArray m_lastModified;
};
