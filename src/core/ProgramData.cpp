#include "core/ProgramData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramData::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tessaly/");
}

bool ProgramData::readOnly(const QString &programFolder)
{
    return !QFileInfo(programFolder).isWritable();
}

bool ProgramData::installed(const QString &programFolder)
{
    return readOnly(programFolder) || QFileInfo::exists(QDir(programFolder).filePath(QLatin1String(InstalledMarker)));
}

QString ProgramData::choose(const QString &programFolder, const QString &userFolder)
{
    if (!readOnly(programFolder))
        return programFolder;
    seed(programFolder, userFolder);
    return userFolder;
}

QString ProgramData::dataFolder(const QString &programFolder)
{
    return readOnly(programFolder) ? userFolder() : programFolder;
}

void ProgramData::seed(const QString &programFolder, const QString &userFolder)
{
    QDir().mkpath(soundFolder(userFolder));
    const QString config = QStringLiteral("tavrin.xml");
    if (!QFileInfo::exists(userFolder + config) && QFile::copy(programFolder + config, userFolder + config))
        QFile::setPermissions(userFolder + config, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QDir sounds(soundFolder(programFolder));
    for (const QString &sound : sounds.entryList({QStringLiteral("*.wav")}, QDir::Files)) {
        const QString target = soundFolder(userFolder) + sound;
        if (!QFileInfo::exists(target))
            QFile::copy(sounds.filePath(sound), target);
    }
}

QString ProgramData::soundFolder(const QString &dataFolder)
{
    return dataFolder + QStringLiteral("Sound/");
}
