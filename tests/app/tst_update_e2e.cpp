#include "support/SiteSimulator.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

// A whole update cycle of the real program: it finds a newer version at
// start, downloads it, ends, and the new program is started once with "/U".
class tst_update_e2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
    }

    void theNewProgramTakesOverOnce()
    {
        SiteSimulator sim;
        QVERIFY(sim.start({u"--payload"_s, QStringLiteral(TESSALY_UPDATE_PAYLOAD)}));
        QCOMPARE(sim.get(u"/control?site=update:newer"_s), QByteArray("ok"));
        TempProgramFolder folder;
        TempProgramFolder home;
        folder.copyProgram(u"tavrin"_s);
        folder.copyProgram(u"torvel"_s);
        folder.copyLocalConfig(sim.base());

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, home.path());
        env.insert(u"HOME"_s, home.path());
        env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
        program.setProcessEnvironment(env);
        program.start(folder.filePath(u"tavrin"_s));
        QVERIFY(program.waitForStarted());
        QVERIFY2(program.waitForFinished(60000), program.readAllStandardError().constData());
        QCOMPARE(program.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(folder.readFile(u"liveupdate-ran.txt"_s), QByteArray("/U\n"), 10000);
        QTest::qWait(500);
        QCOMPARE(folder.readFile(u"liveupdate-ran.txt"_s), QByteArray("/U\n"));
        QCOMPARE(sim.hits(u"/site/download/tavrin"_s), 1);
    }
};

QTEST_GUILESS_MAIN(tst_update_e2e)
#include "tst_update_e2e.moc"
