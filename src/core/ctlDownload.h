#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

// Reads whole files from web addresses without blocking the UI thread, into
// memory or, as they arrive, into a device the caller gives. Several reads may
// run at once; each is named by the caller's AsyncID and ends with exactly one
// DownloadComplete.
class ctlDownload : public QObject
{
    Q_OBJECT

public:
    // State numbers of DownloadStatus.
    enum Status : qint32 {
        StatusError = -1,
        FindingResource = 1,
        Connecting = 2,
        Redirecting = 3,
        BeginDownloadData = 4,
        EndDownloadData = 6,
        SendingRequest = 11,
    };

    explicit ctlDownload(QObject *parent = nullptr);
    explicit ctlDownload(QNetworkAccessManager *network, QObject *parent = nullptr);
    ~ctlDownload() override;

    void BeginDownload(const QString &iUrl, const QString &asyncId = {});
    // The body goes to `sink` as it arrives and DownloadComplete carries no
    // data; a write that fails ends the read. The sink must outlive the read.
    void BeginDownloadTo(QIODevice *sink, const QString &iUrl, const QString &asyncId);
    void CancelDownload(const QString &vv);

    static constexpr qint64 DefaultSizeLimit = 8 << 20;
    static constexpr int DefaultDeadlineMs = 120000;

    // A read that receives nothing for this long fails (default 60 s).
    void setIdleTimeout(int milliseconds) { m_idleTimeoutMs = milliseconds; }
    // A read that has not ended this long after it began fails, however
    // steadily its bytes come (default two minutes).
    void setDeadline(int milliseconds) { m_deadlineMs = milliseconds; }
    // A read announcing or bringing more than this fails (default 8 MiB).
    void setSizeLimit(qint64 bytes) { m_sizeLimit = bytes; }

    QString URL() const { return m_url; }
    qint32 MaxBytes() const { return m_maxBytes; }

Q_SIGNALS:
    void DownloadProgress(qint32 bytesRead, qint32 bytesMax);
    void DownloadComplete(const QByteArray &data, bool success, const QString &asyncId);
    void DownloadStatus(qint32 state, const QString &statusText, const QString &asyncId);

private:
    void start(const QString &iUrl, const QString &asyncId, QIODevice *sink);
    void onProgress(QNetworkReply *reply, qint64 received, qint64 total);
    void onFinished(QNetworkReply *reply);
    void pour(QNetworkReply *reply);
    void forget(QNetworkReply *reply);
    void failLater(const QString &reason, const QString &asyncId);

    QNetworkAccessManager *m_network;
    QHash<QNetworkReply *, QString> m_reads;
    QSet<QNetworkReply *> m_tooLarge;
    QSet<QNetworkReply *> m_overDeadline;
    QHash<QNetworkReply *, QIODevice *> m_sinks;
    QHash<QNetworkReply *, QString> m_writeErrors;
    QString m_url;
    qint32 m_maxBytes = 0;
    int m_idleTimeoutMs = 60000;
    int m_deadlineMs = DefaultDeadlineMs;
    qint64 m_sizeLimit = DefaultSizeLimit;
};
