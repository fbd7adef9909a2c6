#include "app/PlatformChoice.h"

#include <QRegularExpression>
#include <QTest>

// The start-up choices of graphics and web engine settings: with and without a
// GPU, and never over what the user set.
class tst_PlatformChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        for (const char *name : Names)
            qunsetenv(name);
    }

    void chosenFromTheGpuAndTheUsersOwnSettings_data()
    {
        QTest::addColumn<bool>("renderNode");
        QTest::addColumn<QByteArrayList>("userSettings"); // NAME=VALUE
        QTest::addColumn<QByteArrayList>("expected");     // backend, GL integration, flags ("-" for unset)

        const QByteArray ours = "--process-per-site --site-per-process --disable-features=SpareRendererForSitePerProcess --js-flags=--lite-mode";
        QTest::newRow("no gpu") << false << QByteArrayList{} << QByteArrayList{"software", "none", ours};
        QTest::newRow("gpu") << true << QByteArrayList{} << QByteArrayList{"-", "-", ours};
        QTest::newRow("no gpu, the user wants OpenGL")
            << false << QByteArrayList{"QT_QUICK_BACKEND=opengl"} << QByteArrayList{"opengl", "-", ours};
        QTest::newRow("gpu, the user wants the software renderer")
            << true << QByteArrayList{"QT_QUICK_BACKEND=software"} << QByteArrayList{"software", "none", ours};
        QTest::newRow("no gpu, the user chose a GL integration")
            << false << QByteArrayList{"QT_XCB_GL_INTEGRATION=xcb_egl"} << QByteArrayList{"software", "xcb_egl", ours};
        QTest::newRow("the user's own Chromium flags")
            << false << QByteArrayList{"QTWEBENGINE_CHROMIUM_FLAGS=--single-process"}
            << QByteArrayList{"software", "none", "--single-process"};
    }

    void chosenFromTheGpuAndTheUsersOwnSettings()
    {
        QFETCH(bool, renderNode);
        QFETCH(QByteArrayList, userSettings);
        QFETCH(QByteArrayList, expected);
        for (const QByteArray &setting : std::as_const(userSettings)) {
            const qsizetype equals = setting.indexOf('=');
            qputenv(setting.left(equals).constData(), setting.mid(equals + 1));
        }

        chooseWebEngineSettings(renderNode);

        for (int i = 0; i < 3; ++i) {
            const QByteArray actual = qEnvironmentVariableIsSet(Names[i]) ? qgetenv(Names[i]) : QByteArray("-");
            QCOMPARE(actual, expected.at(i));
        }
    }

    void onlyTheExpectedGraphicsWarningsAreQuietened()
    {
        const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(testHandler);
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QTest::ignoreMessage(QtWarningMsg, "QXcbIntegration: the window's surface was lost");
        QTest::ignoreMessage(QtCriticalMsg, "No suitable graphics backend found");

        quietenChosenGraphicsWarnings();
        qWarning("QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled");
        qWarning("No suitable graphics backend found");
        qWarning("QXcbIntegration: the window's surface was lost");
        qCritical("No suitable graphics backend found");
        qInstallMessageHandler(testHandler);
    }

private:
    static constexpr const char *Names[] = {"QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION", "QTWEBENGINE_CHROMIUM_FLAGS"};
};

QTEST_GUILESS_MAIN(tst_PlatformChoice)
#include "tst_PlatformChoice.moc"
