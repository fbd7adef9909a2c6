#include "app/PlatformChoice.h"
#include "core/AppGlobals.h"
#include "core/Clock.h"
#include "core/InstanceLock.h"
#include "core/Startup.h"
#include "core/TerminationSignals.h"
#include "core/gui/DialogMessageSink.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    // The arguments as given: Qt takes its own options out of argv, and
    // "/U" counts only when it stands alone.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    choosePlatform();
    // The web views of our windows share one OpenGL context set.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // WebEngine describes its graphics set-up on every start; not our users' business.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaly"));

    DialogMessageSink sink;
    InstanceLock lock;
    Startup startup(sink, lock);
    switch (startup.run(arguments, QApplication::applicationFilePath())) {
    case Startup::Outcome::UpdateFinished:
        return 0;
    case Startup::Outcome::Ready:
        break;
    case Startup::Outcome::UpdateFailed:
    case Startup::Outcome::AlreadyRunning:
    case Startup::Outcome::ConfigMissing:
    case Startup::Outcome::ConfigMalformed:
        return 1;
    }

    QApplication::setQuitOnLastWindowClosed(false);
    frmMain controller(Clock::system());
    QObject::connect(&controller, &frmMain::exited, &app, &QApplication::quit, Qt::QueuedConnection);
    // Ended by the system or the desktop session: saved and ended as through the menu.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &controller, &frmMain::ExitApp);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller, &frmMain::ExitApp);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &controller, &frmMain::ExitApp);
    controller.Load();
    return QApplication::exec();
}
