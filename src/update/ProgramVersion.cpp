#include "update/ProgramVersion.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace {

QString revision()
{
    return QStringLiteral("%1").arg(TESSALY_VERSION_PATCH, 4, 10, QLatin1Char('0'));
}

std::optional<QList<qulonglong>> numbers(const QString &version)
{
    const QStringList parts = version.trimmed().split(u'.');
    QList<qulonglong> result;
    for (const QString &part : parts) {
        bool ok = false;
        const qulonglong number = part.toULongLong(&ok);
        if (!ok || part.isEmpty() || part.front() == u'+')
            return std::nullopt;
        result.append(number);
    }
    return result;
}

} // namespace

QString ProgramVersion::text()
{
    return QStringLiteral("%1.%2.").arg(TESSALY_VERSION_MAJOR).arg(TESSALY_VERSION_MINOR) + revision();
}

QString ProgramVersion::buildText()
{
    return QStringLiteral("%1.%2 Build ").arg(TESSALY_VERSION_MAJOR).arg(TESSALY_VERSION_MINOR) + revision();
}

bool ProgramVersion::isNewer(const QString &remote, const QString &local)
{
    const auto theirs = numbers(remote);
    const auto ours = numbers(local);
    if (!theirs || !ours)
        return false;
    for (qsizetype i = 0; i < std::max(theirs->size(), ours->size()); ++i) {
        const qulonglong a = theirs->value(i, 0);
        const qulonglong b = ours->value(i, 0);
        if (a != b)
            return a > b;
    }
    return false;
}
