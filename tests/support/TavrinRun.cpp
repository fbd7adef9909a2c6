#include "support/TavrinRun.h"

TavrinRun::TavrinRun(const QString &siteBase)
{
    m_folder.copyProgram(QStringLiteral("tavrin"));
    m_folder.copyProgram(QStringLiteral("torvel"));
    if (!siteBase.isEmpty())
        m_folder.copyLocalConfig(siteBase);
}

TavrinRun::~TavrinRun()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(15000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool TavrinRun::start(const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    m_process.setProcessEnvironment(env);
    m_process.start(m_folder.filePath(QStringLiteral("tavrin")), arguments);
    return m_process.waitForStarted();
}

QStringList TavrinRun::visibleWindows() const
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                             QString::number(m_process.processId()), QStringLiteral("--name"),
                                             QStringLiteral("^Tessaly$")});
    search.waitForFinished(10000);
    return QString::fromLatin1(search.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}
