#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <memory>

class QTemporaryFile;

// The downloaded program that replaces ours. It runs on the user's machine,
// so it is taken only from a trusted place, checked before it is written,
// and written whole or not at all.
class UpdatePayload
{
public:
    // https, or the product site's own origin when that is this machine.
    static bool trustedSource(const QUrl &address, const QUrl &site);
    // Why the bytes are not a program to run, or empty when they are: not
    // empty, as long as announced (announced < 0: nothing announced), an
    // executable of this platform, signed (Ed25519, base64) by the key built
    // into the program, and the given SHA-256 (hex) if any.
    static QString defect(const QByteArray &data, qint64 announced, const QString &signature, const QString &sha256);
    // Writes the program to `target` through a temporary file beside it,
    // made executable, then renamed over the target. False and `error` set
    // when any step fails; nothing is then left behind.
    static bool install(const QByteArray &data, const QString &target, QString *error);
    // The same in steps, for a program written as it arrives: the open
    // temporary file beside `target` (null and `error` set when it cannot be
    // made), then its contents mapped for the checks, then put in place. A
    // file that is not committed is removed with its object.
    static std::unique_ptr<QTemporaryFile> stage(const QString &target, QString *error);
    static QByteArray mapped(QTemporaryFile &file);
    static bool commit(QTemporaryFile &file, const QString &target, QString *error);
    // The name of the downloaded program in the program folder.
    static QString fileName();
};
