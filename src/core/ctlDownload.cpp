#include "core/ctlDownload.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <limits>

namespace {

qint32 clamp32(qint64 value)
{
    if (value < 0)
        return 0;
    return static_cast<qint32>(std::min<qint64>(value, std::numeric_limits<qint32>::max()));
}

} // namespace

ctlDownload::ctlDownload(QObject *parent)
    : ctlDownload(nullptr, parent)
{
}

ctlDownload::ctlDownload(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network ? network : new QNetworkAccessManager(this))
{
}

ctlDownload::~ctlDownload()
{
    // Reads still running are abandoned: no event of theirs may arrive later.
    for (QNetworkReply *reply : m_reads.keys()) {
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void ctlDownload::BeginDownload(const QString &iUrl, const QString &asyncId)
{
    start(iUrl, asyncId, nullptr);
}

void ctlDownload::BeginDownloadTo(QIODevice *sink, const QString &iUrl, const QString &asyncId)
{
    start(iUrl, asyncId, sink);
}

void ctlDownload::pour(QNetworkReply *reply)
{
    QIODevice *sink = m_sinks.value(reply);
    if (!sink || m_writeErrors.contains(reply))
        return;
    const QByteArray chunk = reply->readAll();
    if (sink->write(chunk) != chunk.size()) {
        m_writeErrors.insert(reply, sink->errorString());
        reply->abort();
    }
}

void ctlDownload::forget(QNetworkReply *reply)
{
    m_tooLarge.remove(reply);
    m_overDeadline.remove(reply);
    m_sinks.remove(reply);
    m_writeErrors.remove(reply);
}

void ctlDownload::start(const QString &iUrl, const QString &asyncId, QIODevice *sink)
{
    if (!iUrl.isEmpty())
        m_url = iUrl;

    const QUrl url(m_url, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
        failLater(QStringLiteral("无效的地址: ") + m_url, asyncId);
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The body as sent, so that its length is the announced one.
    request.setRawHeader("Accept-Encoding", "identity");
    // A server that goes quiet ends the read with a failure instead of holding it forever.
    request.setTransferTimeout(m_idleTimeoutMs);

    m_maxBytes = 0; // until this read announces its size
    QNetworkReply *reply = m_network->get(request);
    m_reads.insert(reply, asyncId);
    if (sink) {
        m_sinks.insert(reply, sink);
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { pour(reply); });
    }
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply](qint64 received, qint64 total) { onProgress(reply, received, total); });
    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl &target) {
        Q_EMIT DownloadStatus(Redirecting, target.toString(), m_reads.value(reply));
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        Q_EMIT DownloadStatus(BeginDownloadData, QStringLiteral("begin download"), m_reads.value(reply));
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
    QTimer::singleShot(m_deadlineMs, reply, [this, reply] {
        if (!m_reads.contains(reply) || reply->isFinished())
            return;
        m_overDeadline.insert(reply);
        reply->abort();
    });
    // From the event loop, as every later event of the read.
    QTimer::singleShot(0, reply, [this, reply, address = url.toString()] {
        if (m_reads.contains(reply))
            Q_EMIT DownloadStatus(SendingRequest, address, m_reads.value(reply));
    });
}

void ctlDownload::failLater(const QString &reason, const QString &asyncId)
{
    // Reported from the event loop, as a real read would be, so an owner that
    // marks its task in flight after the call still sees the end of it.
    QTimer::singleShot(0, this, [this, reason, asyncId] {
        Q_EMIT DownloadStatus(StatusError, reason, asyncId);
        Q_EMIT DownloadComplete(QByteArray(), false, asyncId);
    });
}

void ctlDownload::CancelDownload(const QString &vv)
{
    for (auto it = m_reads.begin(); it != m_reads.end();) {
        if (it.value() == vv) {
            QNetworkReply *reply = it.key();
            it = m_reads.erase(it);
            forget(reply);
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        } else {
            ++it;
        }
    }
}

void ctlDownload::onProgress(QNetworkReply *reply, qint64 received, qint64 total)
{
    if (m_sizeLimit >= 0 && (received > m_sizeLimit || total > m_sizeLimit) && !m_tooLarge.contains(reply)) {
        m_tooLarge.insert(reply);
        reply->abort();
        return;
    }
    m_maxBytes = clamp32(total);
    if (received > 0 && m_reads.contains(reply) && reply->error() == QNetworkReply::NoError)
        Q_EMIT DownloadProgress(clamp32(received), m_maxBytes);
}

void ctlDownload::onFinished(QNetworkReply *reply)
{
    const QString asyncId = m_reads.take(reply);
    reply->deleteLater();
    QIODevice *sink = m_sinks.value(reply);
    if (sink && reply->error() == QNetworkReply::NoError)
        pour(reply);

    const bool tooLarge = m_tooLarge.contains(reply) || (m_sizeLimit >= 0 && reply->bytesAvailable() > m_sizeLimit);
    const bool overDeadline = m_overDeadline.contains(reply);
    const QString writeError = m_writeErrors.value(reply);
    const bool unwritten = m_writeErrors.contains(reply);
    forget(reply);
    if (reply->error() != QNetworkReply::NoError || tooLarge || overDeadline || unwritten) {
        const QString reason = unwritten ? QStringLiteral("写入失败: ") + writeError
            : tooLarge                   ? QStringLiteral("文件过大")
            : overDeadline               ? QStringLiteral("超时: %1 秒内没有读完").arg(m_deadlineMs / 1000.0)
            : reply->error() == QNetworkReply::OperationCanceledError
            ? QStringLiteral("超时: %1 秒没有收到数据").arg(m_idleTimeoutMs / 1000.0)
            : reply->errorString();
        Q_EMIT DownloadStatus(StatusError, reason, asyncId);
        Q_EMIT DownloadComplete(QByteArray(), false, asyncId);
        return;
    }
    const QByteArray data = sink ? QByteArray() : reply->readAll();
    const qint32 total = clamp32(sink ? sink->size() : data.size());
    Q_EMIT DownloadStatus(EndDownloadData, QStringLiteral("end download"), asyncId);
    Q_EMIT DownloadProgress(total, total);
    Q_EMIT DownloadComplete(data, true, asyncId);
}
