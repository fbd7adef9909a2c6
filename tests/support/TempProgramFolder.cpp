#include "support/TempProgramFolder.h"

#include "core/cls_Config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempProgramFolder::TempProgramFolder() = default;

QString TempProgramFolder::writeFile(const QString &name, const QByteArray &content) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray TempProgramFolder::readFile(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TempProgramFolder::defaultConfig()
{
    QFile file(QStringLiteral(TESSALY_SOURCE_DIR "/tavrin.xml"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the repository's tavrin.xml is missing");
    return file.readAll();
}

QString TempProgramFolder::copyDefaultConfig() const
{
    return writeFile(QStringLiteral("tavrin.xml"), defaultConfig());
}

QString TempProgramFolder::copyLocalConfig(const QString &base) const
{
    cls_Config config;
    config.setXmlFile(copyDefaultConfig());
    if (!config.Initialize())
        qFatal("the repository's tavrin.xml does not load");
    for (const char *name : {"FXark", "FX168", "FX678", "DailyFX", "HeXun", "CaiXun"}) {
        const QString source = QString::fromLatin1(name);
        config.CreateAttrib(QStringLiteral("Settings/Tavrin/Source/") + source, QStringLiteral("Url"), base + u'/' + source);
    }
    config.CreateAttrib(QStringLiteral("Settings/Tavrin/FXCalendar"), QStringLiteral("Url"), base);
    if (config.CreateNode(QStringLiteral("Settings"), QStringLiteral("Quote")))
        config.CreateAttrib(QStringLiteral("Settings/Quote"), QStringLiteral("Url"), base);
    if (config.CreateNode(QStringLiteral("Settings"), QStringLiteral("Site")))
        config.CreateAttrib(QStringLiteral("Settings/Site"), QStringLiteral("Url"), base + QStringLiteral("/site"));
    config.XMLSave();
    return config.XmlFile();
}

QString TempProgramFolder::copyProgram(const QString &program, const QString &name) const
{
    const QString target = filePath(name.isEmpty() ? program : name);
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(TESSALY_PROGRAM_DIR "/") + program, target))
        qFatal("cannot copy program %s", qPrintable(program));
    return target;
}
