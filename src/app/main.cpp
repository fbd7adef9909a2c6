#include "AppGlobals.h"
#include "DialogMessageSink.h"
#include "InstanceLock.h"
#include "PlatformChoice.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    choosePlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaly"));
    QApplication::setQuitOnLastWindowClosed(false);

    DialogMessageSink sink;
    InstanceLock lock;
    Startup startup(sink, lock);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();

    switch (startup.run(arguments, QApplication::applicationFilePath())) {
    case Startup::Outcome::UpdateFinished:
    case Startup::Outcome::Ready:
        return 0;
    case Startup::Outcome::UpdateFailed:
    case Startup::Outcome::AlreadyRunning:
    case Startup::Outcome::ConfigMissing:
    case Startup::Outcome::ConfigMalformed:
        break;
    }
    return 1;
}
