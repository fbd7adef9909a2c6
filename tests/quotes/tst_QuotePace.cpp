#include "quotes/frmWebQuote.h"
#include "support/SiteSimulator.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The broker's page has no view, so the engine counts it hidden, and after
// five minutes it wakes a hidden page's timers once a minute: the prices
// would stop moving. This runs past that time (the engine takes no shorter
// one from its command line), off the test display, beside the other tests.
class tst_QuotePace : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theBrokersPageKeepsItsPacePastTheEnginesThrottling()
    {
        SiteSimulator sim;
        QVERIFY(sim.start());
        auto refreshes = [&sim] { return QJsonDocument::fromJson(sim.get(u"/stats"_s)).object().value(u"QuoteValues"_s).toInt(); };
        frmWebQuote scraper(frmWebQuote::pageAddress(sim.base()));
        QSignalSpy initialized(&scraper, &frmWebQuote::initialized);
        QVERIFY(initialized.wait(30000));
        QTest::qWait(310 * 1000);
        const int before = refreshes();
        QTest::qWait(10 * 1000);
        const int after = refreshes();
        QVERIFY2(after - before >= 7, qPrintable(QString::number(after - before))); // one a second
    }
};

QTEST_MAIN(tst_QuotePace)
#include "tst_QuotePace.moc"
