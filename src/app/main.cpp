#include "core/AppGlobals.h"
#include "core/gui/DialogMessageSink.h"
#include "core/InstanceLock.h"
#include "app/PlatformChoice.h"
#include "core/Startup.h"
#include "core/Clock.h"
#include "shell/frmMain.h"

#include <QApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
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
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

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
    controller.Load();
    return QApplication::exec();
}
