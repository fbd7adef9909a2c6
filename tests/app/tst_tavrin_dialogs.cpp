#include "support/TavrinRun.h"

#include <QProcess>
#include <QTest>

// On a real display the refusals are message boxes that wait for the user.
class tst_tavrin_dialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
    }

    void missingConfigurationWaitsForTheUser()
    {
        TavrinRun tavrin; // no tavrin.xml beside it
        QVERIFY(tavrin.start());
        QProcess &process = tavrin.process();

        // xdotool gives up when another test's window goes away during its
        // scan of the display: asked again until the box is found.
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = tavrin.visibleWindows().value(0)).isEmpty(), 20000);
        QVERIFY(!process.waitForFinished(300)); // the box waits

        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
        // Typed into the focused window, as a person would.
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()), QStringLiteral("配置文件tavrin.xml 文件不存在!\n"));
    }
};

QTEST_GUILESS_MAIN(tst_tavrin_dialogs)
#include "tst_tavrin_dialogs.moc"
