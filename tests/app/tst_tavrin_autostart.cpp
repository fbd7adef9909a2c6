#include "support/SiteSimulator.h"
#include "support/TavrinRun.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

// Started by the desktop session, the program comes up in the tray only;
// started by the user, its window shows.
class tst_tavrin_autostart : public QObject
{
    Q_OBJECT

private:
    // The heights of the program's visible windows named "Tessaly".
    static QList<int> visibleWindowHeights(const TavrinRun &tavrin)
    {
        QList<int> heights;
        for (const QString &window : tavrin.visibleWindows()) {
            QProcess geometry;
            geometry.start(u"xdotool"_s, {u"getwindowgeometry"_s, window});
            geometry.waitForFinished(5000);
            const QByteArray text = geometry.readAllStandardOutput();
            heights << text.mid(text.lastIndexOf('x') + 1).trimmed().toInt();
        }
        return heights;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server and tray that `make test` starts");
    }

    void theSessionStartsItInTheTray_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("windowShown");
        QTest::newRow("by the session") << QStringList{u"--autostart"_s} << false;
        QTest::newRow("by the user") << QStringList{} << true;
    }
    void theSessionStartsItInTheTray()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, windowShown);
        SiteSimulator sim;
        QVERIFY(sim.start());
        TavrinRun tavrin(sim.base());
        QVERIFY(tavrin.start(arguments));
        // The page is up once the product site's notice has been asked for.
        QTRY_VERIFY_WITH_TIMEOUT(sim.hits(u"/site/Tip.xml"_s) == 1, 30000);
        QTest::qWait(1500);
        const QList<int> heights = visibleWindowHeights(tavrin);
        QCOMPARE(std::any_of(heights.begin(), heights.end(), [](int height) { return height > 100; }), windowShown);
        tavrin.process().terminate();
        QVERIFY(tavrin.process().waitForFinished(15000));
    }
};

QTEST_GUILESS_MAIN(tst_tavrin_autostart)
#include "tst_tavrin_autostart.moc"
