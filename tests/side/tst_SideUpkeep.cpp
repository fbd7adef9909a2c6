#include "side/SideFrames.h"
#include "side/SideUpkeep.h"
#include "update/UpdateDescriptor.h"

#include <QTest>

namespace {

UpdateDescriptor switches(std::optional<double> isAdvert, std::optional<double> fxark, const QString &address = {})
{
    UpdateDescriptor descriptor;
    descriptor.isAdvert = isAdvert;
    descriptor.fxarkIsAdvert = fxark;
    descriptor.fxarkAdvertUrl = address;
    return descriptor;
}

} // namespace

class tst_SideUpkeep : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothLoadsAreDueFirstThenAfterTheirIntervals()
    {
        SideUpkeep upkeep;
        const QDateTime start(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        QStringList log;
        for (int second = 0; second <= 1200; ++second) {
            const SideUpkeep::Due due = upkeep.tick(start.addSecs(second));
            if (due.keepAlive)
                log << QStringLiteral("frame %1").arg(second);
            if (due.descriptor)
                log << QStringLiteral("descriptor %1").arg(second);
        }
        QCOMPARE(log, (QStringList{QStringLiteral("frame 0"), QStringLiteral("descriptor 0"), QStringLiteral("descriptor 301"),
                                   QStringLiteral("frame 551"), QStringLiteral("descriptor 602"),
                                   QStringLiteral("descriptor 903"), QStringLiteral("frame 1102")}));
    }

    void aClockSetBackDoesNotStopTheLoads()
    {
        SideUpkeep upkeep;
        const QDateTime start(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
        upkeep.tick(start);
        const SideUpkeep::Due due = upkeep.tick(start.addSecs(-3600));
        QVERIFY(due.keepAlive && due.descriptor);
    }

    void switchesAreOnlyEverSet()
    {
        SideUpkeep upkeep;
        QVERIFY(!upkeep.advertOff() && !upkeep.fxarkAdvertOn());
        upkeep.applyDescriptor(switches(1, 0));
        QVERIFY(!upkeep.advertOff() && !upkeep.fxarkAdvertOn());
        upkeep.applyDescriptor(switches(0, 1, QStringLiteral("https://ark.example/ad")));
        QVERIFY(upkeep.advertOff() && upkeep.fxarkAdvertOn());
        upkeep.applyDescriptor(switches(1, 0));
        upkeep.applyDescriptor(switches(std::nullopt, std::nullopt));
        QVERIFY(upkeep.advertOff() && upkeep.fxarkAdvertOn());
    }

    void theFxarkAdvertTakesTheRoomItIsGiven_data()
    {
        QTest::addColumn<double>("isAdvert");
        QTest::addColumn<bool>("product");
        QTest::addColumn<int>("height");
        QTest::newRow("below the product's") << 1.0 << true << 275;
        QTest::newRow("alone") << 0.0 << false << 435;
    }
    void theFxarkAdvertTakesTheRoomItIsGiven()
    {
        QFETCH(double, isAdvert);
        QFETCH(bool, product);
        QFETCH(int, height);
        SideUpkeep upkeep;
        QCOMPARE(upkeep.adverts({}).fxarkHeight, 0);
        upkeep.applyDescriptor(switches(isAdvert, 2, QStringLiteral("https://ark.example/ad")));
        const SideUpkeep::Adverts shown = upkeep.adverts({});
        QCOMPARE(shown.product, product);
        QCOMPARE(shown.fxarkHeight, height);
        QCOMPARE(shown.fxarkAddress, QStringLiteral("https://ark.example/ad"));
        // A frame on show keeps its height and page.
        upkeep.applyDescriptor(switches(0, 1, QStringLiteral("https://ark.example/other")));
        QCOMPARE(upkeep.adverts(shown).fxarkHeight, height);
        QCOMPARE(upkeep.adverts(shown).fxarkAddress, QStringLiteral("https://ark.example/ad"));
    }

    // Switched on without a usable address, the frame waits for a
    // descriptor that brings one.
    void theFxarkAdvertWaitsForAnAddress_data()
    {
        QTest::addColumn<QString>("first");
        QTest::newRow("none") << QString();
        QTest::newRow("not a web address") << QStringLiteral("javascript:alert(1)");
    }
    void theFxarkAdvertWaitsForAnAddress()
    {
        QFETCH(QString, first);
        SideUpkeep upkeep;
        upkeep.applyDescriptor(switches(1, 1, first));
        const SideUpkeep::Adverts shown = upkeep.adverts({});
        QCOMPARE(shown.fxarkHeight, 0);
        upkeep.applyDescriptor(switches(1, 1, QStringLiteral("https://ark.example/ad")));
        QCOMPARE(upkeep.adverts(shown).fxarkHeight, 275);
        QCOMPARE(upkeep.adverts(shown).fxarkAddress, QStringLiteral("https://ark.example/ad"));
    }

    void theAskPanelFollowsItsTab_data()
    {
        QTest::addColumn<bool>("bb");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("current");
        QTest::addColumn<bool>("filled");
        QTest::newRow("tab entered") << true << false << true << true;
        QTest::newRow("tab left") << false << false << false << false;
        QTest::newRow("shown again on its tab") << true << true << true << true;
        QTest::newRow("shown again on another tab") << true << true << false << false;
    }
    void theAskPanelFollowsItsTab()
    {
        QFETCH(bool, bb);
        QFETCH(bool, active);
        QFETCH(bool, current);
        QFETCH(bool, filled);
        QCOMPARE(SideUpkeep::fxAskFilled(bb, active, current), filled);
    }

    void framesTakeOnlyWebAddressesAndEscapeThem_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("src");
        QTest::newRow("https") << "https://ark.example/ad?a=1&b=2" << "src='https://ark.example/ad?a=1&amp;b=2'";
        QTest::newRow("quote breaks out") << "http://x.example/'onload='alert(1)" << "src='http://x.example/&#39;onload=&#39;alert(1)'";
        QTest::newRow("script address") << "javascript:alert(1)" << "";
        QTest::newRow("file") << "file:///etc/passwd" << "";
        QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << "";
        QTest::newRow("empty") << "" << "";
    }
    void framesTakeOnlyWebAddressesAndEscapeThem()
    {
        QFETCH(QString, address);
        QFETCH(QString, src);
        for (const QString &frame : {SideFrames::productAdvert(address), SideFrames::fxarkAdvert(address, 435),
                                     SideFrames::hiddenPage(address), SideFrames::fxAsk(address)}) {
            if (src.isEmpty()) {
                QCOMPARE(frame, QString());
            } else {
                QVERIFY2(frame.contains(src), qPrintable(frame));
                QVERIFY(frame.contains(QStringLiteral("sandbox='allow-scripts")));
                QVERIFY(!frame.contains(QStringLiteral("allow-top-navigation")));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_SideUpkeep)
#include "tst_SideUpkeep.moc"
