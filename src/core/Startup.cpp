#include "core/Startup.h"

#include "core/AppGlobals.h"
#include "core/FileUtil.h"
#include "core/InstanceLock.h"
#include "core/MessageSink.h"
#include "core/ProgramData.h"
#include "core/ProductSite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <system_error>

namespace {

// Copies a file over another through a temporary sibling and a rename, so the
// target is never half written and a running program file can be replaced.
bool replaceFile(const QString &source, const QString &target)
{
    const QString temporary = target + QStringLiteral(".update");
    QFile::remove(temporary);
    if (!QFile::copy(source, temporary))
        return false;
    QFile::setPermissions(temporary, QFile::permissions(source));
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(target).toStdString(), error);
    if (error) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace

Startup::Startup(MessageSink &sink, InstanceLock &lock)
    : m_sink(sink)
    , m_lock(lock)
{
}

QString Startup::updateDoneText()
{
    return QStringLiteral("Tessaly版本更新完成, 点击确认按钮运行最新的版本!");
}

QString Startup::updateFailedText(const QString &siteAddress)
{
    return QStringLiteral("Tessaly更新过程中出现问题,请访问网站(") + siteAddress
        + QStringLiteral(")下载新的安装程序进行更新!");
}

QString Startup::alreadyRunningText()
{
    return QStringLiteral("检测到一个正在运行的Tessaly!");
}

QString Startup::configMissingText()
{
    return QStringLiteral("配置文件tavrin.xml 文件不存在!");
}

Startup::Outcome Startup::run(const QStringList &arguments, const QString &executablePath)
{
    AppGlobals &app = Globals();
    app.AppPath = QDir::toNativeSeparators(QFileInfo(executablePath).absolutePath());
    if (!app.AppPath.endsWith(QDir::separator()))
        app.AppPath += QDir::separator();

    if (arguments == QStringList{QStringLiteral("/U")})
        return finishUpdate(executablePath);

    // Installed read-only, the data lives in the user's own folder.
    app.AppPath = ProgramData::choose(app.AppPath, ProgramData::userFolder());

    if (!m_lock.tryLock()) {
        m_sink.show(MessageIcon::Exclamation, alreadyRunningText());
        return Outcome::AlreadyRunning;
    }

    app.Config.setMessageSink(&m_sink);
    app.Config.setXmlFile(app.AppPath + QStringLiteral("tavrin.xml"));
    if (!FileUtil::FileExists(app.Config.XmlFile())) {
        m_sink.show(MessageIcon::Exclamation, configMissingText());
        return Outcome::ConfigMissing;
    }
    if (!app.Config.Initialize())
        return Outcome::ConfigMalformed;
    return Outcome::Ready;
}

Startup::Outcome Startup::finishUpdate(const QString &executablePath)
{
    const QString program = Globals().AppPath + programFileName();
    // An installation belongs to its package manager: nothing of it is replaced.
    if (ProgramData::installed(Globals().AppPath)) {
        m_sink.show(MessageIcon::Exclamation, updateFailedText(ProductSite::defaultBaseAddress()));
        return Outcome::UpdateFailed;
    }
    m_sink.show(MessageIcon::Information, updateDoneText());
    const bool samefile = QFileInfo(executablePath).canonicalFilePath() == QFileInfo(program).canonicalFilePath();
    if ((!samefile && !replaceFile(executablePath, program)) || !QProcess::startDetached(program, {})) {
        m_sink.show(MessageIcon::Exclamation, updateFailedText(ProductSite::defaultBaseAddress()));
        return Outcome::UpdateFailed;
    }
    return Outcome::UpdateFinished;
}
