#include "app/PlatformChoice.h"

#include <QByteArray>
#include <QDir>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

void choosePlatform()
{
#ifdef Q_OS_LINUX
    // Chromium's sandbox refuses to run as root; the web views would not start.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    else if (!qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#endif
}

void chooseWebEngineSettings()
{
#ifdef Q_OS_LINUX
    chooseWebEngineSettings(QDir(QStringLiteral("/dev/dri")).exists());
#else
    chooseWebEngineSettings(true); // elsewhere the system's own graphics are trusted
#endif
}

void chooseWebEngineSettings(bool renderNode)
{
    // No render node: any OpenGL would be emulated on the processor.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND") && !renderNode)
        qputenv("QT_QUICK_BACKEND", QByteArrayLiteral("software"));
    // The software renderer draws without OpenGL; loading the emulation
    // anyway would cost its compiler's memory and start-up time. A backend
    // that needs OpenGL keeps it.
    if (qgetenv("QT_QUICK_BACKEND") == "software" && !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", QByteArrayLiteral("none"));
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArrayLiteral("--process-per-site --site-per-process "
                                                                "--disable-features=SpareRendererForSitePerProcess "
                                                                "--js-flags=--lite-mode"));
}

namespace {

QtMessageHandler s_nextHandler = nullptr;

void withoutChosenGraphicsWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg
        && (message.startsWith(QLatin1String("QXcbIntegration: Cannot create platform OpenGL context"))
            || message.startsWith(QLatin1String("No suitable graphics backend found"))))
        return;
    s_nextHandler(type, context, message); // Qt hands out its default handler when none was installed
}

} // namespace

void quietenChosenGraphicsWarnings()
{
    if (qgetenv("QT_XCB_GL_INTEGRATION") == "none")
        s_nextHandler = qInstallMessageHandler(withoutChosenGraphicsWarnings);
}
