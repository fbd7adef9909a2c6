#pragma once

#include "core/ProductSite.h"
#include "update/UpdateDescriptor.h"

#include <QObject>

#include <memory>

class ctlDownload;
class QTemporaryFile;

// One update, without its dialog: reads the product site's descriptor, tells
// whether it names a newer version, and downloads, checks and writes the new
// program as "liveupdate" into the program folder.
class LiveUpdate : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 DescriptorLimit = 1 << 20;
    static constexpr int DescriptorTimeoutMs = 30000;
    // The new program: at most this large, and read within half an hour.
    static constexpr qint64 PayloadLimit = qint64(64) << 20;
    static constexpr int PayloadDeadlineMs = 30 * 60 * 1000;

    LiveUpdate(const ProductSite &site, QString programFolder, QString localVersion, QObject *parent = nullptr);
    ~LiveUpdate() override;

    void check();
    void download();
    // A version tried before (downloaded, or its download begun): a check that
    // finds it again does not call it newer, so an update that did not take
    // is not tried at every start. Empty: none (as when the user asks).
    void setSkippedVersion(const QString &version) { m_skippedVersion = version; }
    // A download that brings nothing for this long fails (default 60 s).
    void setIdleTimeout(int milliseconds);

    const UpdateDescriptor &descriptor() const { return m_descriptor; }
    QString targetPath() const;
    // Whole percent of `read` of `total` bytes: 0 without a total, never above 100.
    static int percent(qint64 read, qint64 total);

Q_SIGNALS:
    // The descriptor was read; `newer` when it names a later version.
    void checked(bool newer);
    // The descriptor could not be read.
    void checkFailed();
    void progress(int percent);
    // The download of this version begins: it counts as tried.
    void trying(const QString &version);
    // The new program is in place.
    void downloaded();
    void downloadFailed(const QString &reason);

private:
    void onDescriptor(const QByteArray &data, bool success);
    void onPayload(bool success);
    void fail(const QString &reason);

    ProductSite m_site;
    QString m_programFolder;
    QString m_localVersion;
    QString m_skippedVersion;
    ctlDownload *m_descriptorRead;
    ctlDownload *m_payloadRead;
    UpdateDescriptor m_descriptor;
    // Where the new program is written as it arrives, beside its place.
    std::unique_ptr<QTemporaryFile> m_staged;
    bool m_downloading = false;
    QString m_readError; // why the download's read failed, as it said
};
