#include "update/UpdatePayload.h"

#include "update/UpdateSignature.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHostAddress>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

bool isLoopback(const QString &host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

bool UpdatePayload::trustedSource(const QUrl &address, const QUrl &site)
{
    if (!address.isValid() || address.host().isEmpty())
        return false;
    if (address.scheme().compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0)
        return true;
    return isLoopback(site.host()) && address.scheme() == site.scheme() && address.host() == site.host()
        && address.port(site.scheme() == QStringLiteral("https") ? 443 : 80)
        == site.port(site.scheme() == QStringLiteral("https") ? 443 : 80);
}

QString UpdatePayload::defect(const QByteArray &data, qint64 announced, const QString &signature, const QString &sha256)
{
    if (data.isEmpty())
        return QStringLiteral("no data");
    if (announced >= 0 && data.size() != announced)
        return QStringLiteral("%1 of %2 bytes").arg(data.size()).arg(announced);
#ifdef Q_OS_WIN
    if (!data.startsWith("MZ"))
        return QStringLiteral("not a program");
#else
    if (!data.startsWith("\x7f" "ELF"))
        return QStringLiteral("not a program");
#endif
    if (signature.trimmed().isEmpty())
        return QStringLiteral("not signed");
    if (!UpdateSignature::verify(data, signature))
        return QStringLiteral("signature does not match");
    if (!sha256.isEmpty()
        && QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() != sha256.trimmed().toLower().toLatin1())
        return QStringLiteral("SHA-256 differs");
    return {};
}

bool UpdatePayload::install(const QByteArray &data, const QString &target, QString *error)
{
    const std::unique_ptr<QTemporaryFile> file = stage(target, error);
    if (!file)
        return false;
    if (file->write(data) != data.size()) {
        if (error)
            *error = file->errorString();
        return false;
    }
    return commit(*file, target, error);
}

std::unique_ptr<QTemporaryFile> UpdatePayload::stage(const QString &target, QString *error)
{
    auto file = std::make_unique<QTemporaryFile>(QFileInfo(target).absolutePath() + QStringLiteral("/.liveupdate-XXXXXX"));
    if (!file->open()) {
        if (error)
            *error = file->errorString();
        return nullptr;
    }
    return file;
}

QByteArray UpdatePayload::mapped(QTemporaryFile &file)
{
    if (!file.flush() || file.size() <= 0)
        return {};
    // Read in place: a program of many megabytes is not copied into memory.
    const uchar *bytes = file.map(0, file.size());
    return bytes ? QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), file.size()) : QByteArray();
}

bool UpdatePayload::commit(QTemporaryFile &file, const QString &target, QString *error)
{
    const QFileDevice::Permissions executable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    if (!file.flush() || !file.setPermissions(executable)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    std::error_code failure;
    // One step: whoever looks finds the old file or the whole new one.
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(file.fileName()).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()), failure);
    if (failure) {
        if (error)
            *error = QString::fromStdString(failure.message());
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

QString UpdatePayload::fileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("liveupdate.exe");
#else
    return QStringLiteral("liveupdate");
#endif
}
