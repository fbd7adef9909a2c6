#include "update/LiveUpdate.h"

#include "core/Logging.h"
#include "core/ctlDownload.h"
#include "update/ProgramVersion.h"
#include "update/UpdatePayload.h"

#include <QTemporaryFile>
#include <QUrl>

namespace {

const QString PayloadId = QStringLiteral("iUpdate");

} // namespace

LiveUpdate::LiveUpdate(const ProductSite &site, QString programFolder, QString localVersion, QObject *parent)
    : QObject(parent)
    , m_site(site)
    , m_programFolder(std::move(programFolder))
    , m_localVersion(std::move(localVersion))
    , m_descriptorRead(new ctlDownload(this))
    , m_payloadRead(new ctlDownload(this))
{
    m_descriptorRead->setIdleTimeout(DescriptorTimeoutMs);
    m_descriptorRead->setSizeLimit(DescriptorLimit);
    m_payloadRead->setSizeLimit(PayloadLimit);
    m_payloadRead->setDeadline(PayloadDeadlineMs);
    connect(m_descriptorRead, &ctlDownload::DownloadComplete, this,
            [this](const QByteArray &data, bool success, const QString &) { onDescriptor(data, success); });
    connect(m_payloadRead, &ctlDownload::DownloadProgress, this,
            [this](qint32 read, qint32 total) { Q_EMIT progress(percent(read, total)); });
    connect(m_payloadRead, &ctlDownload::DownloadStatus, this, [this](qint32 state, const QString &text, const QString &) {
        if (state == ctlDownload::StatusError)
            m_readError = text;
        // A redirect may not lead the download away from a trusted place.
        if (state == ctlDownload::Redirecting && m_downloading
            && !UpdatePayload::trustedSource(QUrl(text), QUrl(m_site.baseAddress()))) {
            m_payloadRead->CancelDownload(PayloadId);
            fail(QStringLiteral("redirected to ") + text);
        }
    });
    connect(m_payloadRead, &ctlDownload::DownloadComplete, this,
            [this](const QByteArray &, bool success, const QString &) { onPayload(success); });
}

LiveUpdate::~LiveUpdate() = default;

void LiveUpdate::setIdleTimeout(int milliseconds)
{
    m_payloadRead->setIdleTimeout(milliseconds);
}

QString LiveUpdate::targetPath() const
{
    return m_programFolder + UpdatePayload::fileName();
}

int LiveUpdate::percent(qint64 read, qint64 total)
{
    if (total <= 0 || read <= 0)
        return 0;
    return static_cast<int>(std::min<qint64>(read * 100 / total, 100));
}

void LiveUpdate::check()
{
    m_descriptorRead->BeginDownload(m_site.updateDescriptor(), QStringLiteral("update.xml"));
}

void LiveUpdate::onDescriptor(const QByteArray &data, bool success)
{
    const std::optional<UpdateDescriptor> descriptor = success ? UpdateDescriptor::parse(data) : std::nullopt;
    if (!descriptor) {
        qCInfo(lcUpdate) << "the update descriptor could not be read";
        Q_EMIT checkFailed();
        return;
    }
    m_descriptor = *descriptor;
    qCInfo(lcUpdate) << "the product site offers version" << m_descriptor.version << "; this is" << m_localVersion;
    Q_EMIT checked(ProgramVersion::isNewer(m_descriptor.version, m_localVersion)
                   && (m_skippedVersion.isEmpty() || m_descriptor.version.trimmed() != m_skippedVersion.trimmed()));
}

void LiveUpdate::download()
{
    if (m_downloading)
        return;
    // Failures are reported from the event loop, as a read's end is. A
    // descriptor read over plain http could have been changed on the way.
    if (!UpdatePayload::trustedSource(QUrl(m_site.updateDescriptor()), QUrl(m_site.baseAddress()))) {
        QMetaObject::invokeMethod(this, [this] { fail(QStringLiteral("descriptor not read over https")); }, Qt::QueuedConnection);
        return;
    }
    const QUrl address(m_descriptor.download);
    if (!UpdatePayload::trustedSource(address, QUrl(m_site.baseAddress()))) {
        QMetaObject::invokeMethod(this, [this] { fail(QStringLiteral("untrusted address")); }, Qt::QueuedConnection);
        return;
    }
    QString error;
    m_staged = UpdatePayload::stage(targetPath(), &error);
    if (!m_staged) {
        QMetaObject::invokeMethod(this, [this, error] { fail(error); }, Qt::QueuedConnection);
        return;
    }
    m_downloading = true;
    m_readError.clear();
    Q_EMIT trying(m_descriptor.version);
    m_payloadRead->BeginDownloadTo(m_staged.get(), address.toString(), PayloadId);
}

void LiveUpdate::onPayload(bool success)
{
    if (!m_downloading)
        return;
    if (!success) {
        fail(QStringLiteral("download failed: ") + m_readError);
        return;
    }
    // The length the server announced, if it did.
    const qint64 announced = m_payloadRead->MaxBytes() > 0 ? m_payloadRead->MaxBytes() : -1;
    const QString defect
        = UpdatePayload::defect(UpdatePayload::mapped(*m_staged), announced, m_descriptor.signature, m_descriptor.sha256);
    QString error;
    if (!defect.isEmpty()) {
        fail(defect);
    } else if (!UpdatePayload::commit(*m_staged, targetPath(), &error)) {
        fail(error);
    } else {
        m_staged.reset();
        m_downloading = false;
        Q_EMIT downloaded();
    }
}

void LiveUpdate::fail(const QString &reason)
{
    qCInfo(lcUpdate) << "the update was not written:" << reason;
    m_staged.reset();
    m_downloading = false;
    Q_EMIT downloadFailed(reason);
}
