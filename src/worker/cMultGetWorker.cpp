#include "worker/cMultGetWorker.h"

#include "protocol/SourceId.h"
#include "worker/FeedFetcher.h"
#include "worker/FeedRecord.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

// Steps of StartRequest and of a poll, named in the error messages.
enum InitializeStep { OpenRequest = 3, SendRequest = 5 };
enum TimerStep { ReadBody = 2 };

QString initializeError(int step)
{
    return QStringLiteral("Request Initialize, Err:#") + QString::number(step);
}

QString timerError(int step)
{
    return QStringLiteral("Request Timer, Err:#") + QString::number(step);
}

} // namespace

cMultGetWorker::cMultGetWorker(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_requestTimer(this)
    , m_stateTimer(this)
{
    m_requestTimer.setSingleShot(true);
    m_requestTimer.setInterval(StartDelayMs);
    m_stateTimer.setInterval(PollMs);
    connect(&m_requestTimer, &QTimer::timeout, this, &cMultGetWorker::StartRequest);
    connect(&m_stateTimer, &QTimer::timeout, this, &cMultGetWorker::pollState);
}

cMultGetWorker::~cMultGetWorker()
{
    releaseRequest();
}

void cMultGetWorker::GetWebContent(const QString &iHtmlScr, int iID, const QString &iUrl)
{
    // A second call before the timer fires replaces the first: one request only.
    startPage(SourceId::name(iID), iHtmlScr, iID, iUrl);
}

void cMultGetWorker::startPage(const QString &kind, const QString &known, int id, const QString &url)
{
    m_kind = kind;
    m_htmlSource = known;
    m_id = id;
    m_url = url;
    m_requestTimer.start();
}

void cMultGetWorker::GetFeedContent(const QString &iKnown, int iID, const QString &iUrl, const QString &iSource)
{
    const QJsonObject description = QJsonDocument::fromJson(iSource.toUtf8()).object();
    const QString kind = description.value(QStringLiteral("kind")).toString(QStringLiteral("auto"));
    // Another address read by one of the six pages' parsers.
    if (const QString pageKind = SourceId::pageKind(kind); !pageKind.isEmpty()) {
        startPage(pageKind, iKnown, iID, iUrl);
        return;
    }
    if (!m_feed) {
        m_feed = new FeedFetcher(this);
        connect(m_feed, &FeedFetcher::item, this, [this](const FeedPass::KeyedItem &keyed) { reportItem(m_feedId, keyed); });
        connect(m_feed, &FeedFetcher::completed, this, [this](bool isNew) {
            Q_EMIT Complete(m_feedId, isNew);
            Q_EMIT PassEnded(m_feedId);
        });
        connect(m_feed, &FeedFetcher::failed, this, [this](const QString &message, int retryAfter) {
            if (retryAfter > 0)
                Q_EMIT Retry(m_feedId, retryAfter);
            Q_EMIT IError(m_feedId, message);
            Q_EMIT PassEnded(m_feedId);
        });
        connect(m_feed, &FeedFetcher::timedOut, this, [this] {
            Q_EMIT Timeout(m_feedId);
            Q_EMIT PassEnded(m_feedId);
        });
    }
    m_feedId = iID;
    FeedSource source;
    source.kind = kind;
    source.selectors = {description.value(QStringLiteral("item")).toString(),
                        description.value(QStringLiteral("title")).toString(),
                        description.value(QStringLiteral("link")).toString(),
                        description.value(QStringLiteral("time")).toString(),
                        description.value(QStringLiteral("summary")).toString()};
    const QStringList keys = iKnown.split(u'\n', Qt::SkipEmptyParts);
    m_feed->fetch(iUrl, source, QSet<QString>(keys.begin(), keys.end()));
}

void cMultGetWorker::reportItem(int id, const FeedPass::KeyedItem &keyed)
{
    Q_EMIT Item(id, FeedRecord::write(keyed, QDateTime::currentDateTimeUtc()));
}

void cMultGetWorker::releaseRequest()
{
    if (!m_request)
        return;
    m_request->disconnect(this);
    m_request->abort();
    m_request->deleteLater();
    m_request = nullptr;
}

void cMultGetWorker::StartRequest()
{
    m_ticks = 0;
    releaseRequest();
    m_stateTimer.stop();
    m_body.reset();

    const QUrl url(m_url, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
        const int id = m_id;
        Q_EMIT IError(id, initializeError(OpenRequest));
        Q_EMIT PassEnded(id);
        return;
    }
    QNetworkRequest request(url);
    request.setRawHeader("CONTENT-TYPE", "application/x-www-form-urlencoded");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_request = m_network->get(request);
    if (!m_request) {
        const int id = m_id;
        Q_EMIT IError(id, initializeError(SendRequest));
        Q_EMIT PassEnded(id);
        return;
    }
    QNetworkReply *reply = m_request;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { m_body.read(reply); });
    m_stateTimer.start();
}

void cMultGetWorker::pollState()
{
    ++m_ticks;
    if (m_request && m_request->isFinished()) {
        m_stateTimer.stop();
        m_ticks = 0;
        const QByteArray body = m_body.take(m_request);
        const bool tooLarge = m_body.tooLarge();
        releaseRequest();
        if (tooLarge) {
            const int id = m_id;
            Q_EMIT IError(id, timerError(ReadBody));
            Q_EMIT PassEnded(id);
            return;
        }
        finishPass(body);
        return;
    }
    if (m_ticks > MaxPolls) {
        m_stateTimer.stop();
        // The request is dropped; whatever it delivers later is never looked at.
        releaseRequest();
        const int id = m_id;
        Q_EMIT Timeout(id);
        Q_EMIT PassEnded(id);
    }
}

void cMultGetWorker::finishPass(const QByteArray &body)
{
    const int id = m_id;
    const QString text = PageDecoder::decode(m_kind, body);
    if (text.isEmpty()) {
        Q_EMIT IError(id, QStringLiteral("Request LinkExecute"));
    } else {
        for (const ParseEvent &event : SourceParsers::parse(m_kind, text, m_htmlSource, m_url, m_webDoc)) {
            switch (event.kind) {
            case ParseEvent::Msg:
                Q_EMIT Msg(id, event.cellTime, event.cellInfo, event.href, event.popup);
                break;
            case ParseEvent::Complete:
                Q_EMIT Complete(id, event.isNew);
                break;
            case ParseEvent::Error:
                Q_EMIT IError(id, event.message);
                break;
            }
        }
    }
    Q_EMIT PassEnded(id);
}
