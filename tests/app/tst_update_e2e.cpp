#include "support/SiteSimulator.h"
#include "support/TavrinRun.h"

#include <QFile>
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
        TavrinRun tavrin(sim.base());
        QVERIFY(tavrin.start());
        QProcess &program = tavrin.process();
        const TempProgramFolder &folder = tavrin.folder();
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
