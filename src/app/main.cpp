#include "AppGlobals.h"
#include "DialogMessageSink.h"
#include "InstanceLock.h"
#include "PlatformChoice.h"
#include "Startup.h"
#include "frmTavrin.h"

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

    // Until the tray exists, closing the main window ends the program.
    frmTavrin window;
    window.setExiting(true);
    QObject::connect(&window, &frmTavrin::pageReady, &window, [&window] { window.show(); });
    const int status = QApplication::exec();
    Globals().Config.XMLSave();
    return status;
}
