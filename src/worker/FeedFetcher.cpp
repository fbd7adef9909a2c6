#include "worker/FeedFetcher.h"

#include "worker/FeedParser.h"
#include "worker/PageSourceReader.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <algorithm>

namespace {

// Seconds a Retry-After value asks for: a number, or an HTTP date.
int retryAfterSeconds(const QByteArray &value, const QDateTime &now)
{
    bool isNumber = false;
    const int seconds = value.trimmed().toInt(&isNumber);
    if (isNumber)
        return std::max(seconds, 0);
    const QDateTime at = QDateTime::fromString(QString::fromLatin1(value.trimmed()), Qt::RFC2822Date);
    return at.isValid() ? static_cast<int>(std::max<qint64>(now.secsTo(at), 0)) : 0;
}

} // namespace

FeedFetcher::FeedFetcher(QObject *parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_deadline(this) // a child: it moves with the fetcher to the fetcher's thread
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(DeadlineMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (!m_reply)
            return;
        m_overDeadline = true;
        m_reply->abort();
    });
}

FeedFetcher::~FeedFetcher()
{
    release();
}

void FeedFetcher::release()
{
    m_deadline.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void FeedFetcher::fail(const QString &message, int retryAfterSeconds)
{
    Q_EMIT failed(message, retryAfterSeconds);
}

void FeedFetcher::fetch(const QString &url, const FeedSource &source, const QSet<QString> &known)
{
    release();
    m_url = url;
    m_source = source;
    m_known = known;
    m_body.reset();
    m_overDeadline = false;

    const QUrl address(url, QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty()
        || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
        QMetaObject::invokeMethod(this, [this, url] { fail(QStringLiteral("地址无效: ") + url); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Never from an encrypted address to a plain one, nor to another scheme.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setTransferTimeout(IdleTimeoutMs);
    request.setRawHeader("Accept", source.kind == QStringLiteral("page")
                                       ? QByteArray("text/html, */*;q=0.5")
                                       : QByteArray("application/rss+xml, application/atom+xml, application/feed+json, "
                                                    "application/xml;q=0.9, text/xml;q=0.9, */*;q=0.5"));
    if (m_validatedUrl == url) {
        if (!m_etag.isEmpty())
            request.setRawHeader("If-None-Match", m_etag);
        if (!m_lastModified.isEmpty())
            request.setRawHeader("If-Modified-Since", m_lastModified);
    }
    m_reply = m_network->get(request);
    QNetworkReply *reply = m_reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { m_body.read(reply); });
    connect(reply, &QNetworkReply::finished, this, &FeedFetcher::onFinished);
    m_deadline.start();
}

void FeedFetcher::onFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_deadline.stop();
    const QByteArray body = m_body.take(reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const QByteArray etag = reply->rawHeader("ETag");
    const QByteArray lastModified = reply->rawHeader("Last-Modified");
    const QByteArray retryAfter = reply->rawHeader("Retry-After");
    const QString contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    const QString finalUrl = reply->url().toString();
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();

    if (m_body.tooLarge())
        return fail(QStringLiteral("文件过大 (超过 %1 MiB)").arg(MaxBodyBytes >> 20));
    if (error == QNetworkReply::InsecureRedirectError)
        return fail(QStringLiteral("重定向到不安全的地址, 已拒绝"));
    if (m_overDeadline || error == QNetworkReply::OperationCanceledError) {
        Q_EMIT timedOut();
        return;
    }
    if (status == 304) {
        Q_EMIT completed(false);
        return;
    }
    if (status == 429 || status == 503) {
        const int wait = retryAfterSeconds(retryAfter, QDateTime::currentDateTimeUtc());
        return fail(QStringLiteral("服务器忙 (HTTP %1)").arg(status)
                        + (wait > 0 ? QStringLiteral(", %1 秒后再试").arg(wait) : QString()),
                    wait);
    }
    if (status == 404 || status == 410)
        return fail(QStringLiteral("找不到 (HTTP %1)").arg(status));
    if (error == QNetworkReply::SslHandshakeFailedError)
        return fail(QStringLiteral("证书被拒绝: ") + errorText);
    if (error == QNetworkReply::TooManyRedirectsError)
        return fail(QStringLiteral("重定向次数过多"));
    if (error != QNetworkReply::NoError || status < 200 || status >= 300)
        return fail(status >= 400 || error == QNetworkReply::NoError ? QStringLiteral("HTTP %1").arg(status) : errorText);

    QString problem;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const std::optional<Feed> feed = m_source.kind == QStringLiteral("page")
        ? PageSourceReader::read(body, contentType, finalUrl, m_source.selectors, now, &problem)
        : FeedParser::parse(body, contentType, finalUrl, now, &problem);
    if (!feed)
        return fail(m_source.kind == QStringLiteral("page")
                        ? problem
                        : QStringLiteral("不是新闻源: ") + QString(problem).remove(QStringLiteral("not a feed: ")));
    m_validatedUrl = m_url;
    m_etag = etag;
    m_lastModified = lastModified;
    Q_EMIT read(*feed);
    const QList<FeedPass::KeyedItem> fresh = FeedPass::newItems(*feed, m_known);
    for (const FeedPass::KeyedItem &keyed : fresh)
        Q_EMIT item(keyed);
    Q_EMIT completed(std::any_of(fresh.cbegin(), fresh.cend(), [](const FeedPass::KeyedItem &keyed) { return !keyed.quiet; }));
}
