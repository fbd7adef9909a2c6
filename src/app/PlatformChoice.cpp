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
    // No render node: any OpenGL would be emulated on the processor.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND") && !QDir(QStringLiteral("/dev/dri")).exists())
        qputenv("QT_QUICK_BACKEND", QByteArrayLiteral("software"));
#endif
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArrayLiteral("--process-per-site --js-flags=--lite-mode"));
}
