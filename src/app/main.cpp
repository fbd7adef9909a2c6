#include "app/CalendarExportCommand.h"
#include "app/HistorySearchCommand.h"
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
#include <QProcess>

#include <memory>

int main(int argc, char *argv[])
{
    // The arguments as given: Qt takes its own options out of argv, and
    // "/U" counts only when it stands alone.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Commands of their own: no display, no window, no lock.
    if (arguments.value(0) == QStringLiteral("--export-calendar") || arguments.value(0) == QStringLiteral("--search")) {
        QCoreApplication app(argc, argv);
        return arguments.value(0) == QStringLiteral("--search")
            ? runHistorySearch(arguments, QCoreApplication::applicationFilePath())
            : runCalendarExport(arguments, QCoreApplication::applicationFilePath());
    }
    choosePlatform();
    chooseWebEngineSettings();
    quietenChosenGraphicsWarnings();
    // The web views of our windows share one OpenGL context set.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // WebEngine describes its graphics set-up on every start; not our users' business.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaly"));
    // Caught from the first moment: a signal that comes while the program
    // starts waits in the event loop, which saves and ends once it runs.
    TerminationSignals termination;

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
    auto controller = std::make_unique<frmMain>(Clock::system());
    QObject::connect(controller.get(), &frmMain::exited, &app, &QApplication::quit, Qt::QueuedConnection);
    // Ended by the system or the desktop session: saved and ended as through the menu.
    QObject::connect(&termination, &TerminationSignals::terminationRequested, controller.get(), &frmMain::ExitApp);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, controller.get(), &frmMain::ExitApp);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, controller.get(), &frmMain::ExitApp);
    controller->setStartInTray(arguments == QStringList{QStringLiteral("--autostart")});
    controller->Load();
    const int code = QApplication::exec();

    // A downloaded update takes over once this program has let go of
    // everything, its lock included: it replaces the program file and starts it.
    const bool update = controller->runUpdaterOnExit();
    const QString updater = controller->updaterPath();
    controller.reset();
    lock.unlock();
    if (update)
        QProcess::startDetached(updater, {QStringLiteral("/U")});
    return code;
}
