#include "quotes/BrokerSite.h"
#include "quotes/QuoteScraper.h"

#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;
using Report = QuoteScraper::Report;

namespace {

// The broker page's cells, as the hidden page reads them.
struct Cells
{
    QHash<QString, QString> texts;

    Cells()
    {
        const QStringList prices{u"1.08501"_s, u"1.26003"_s, u"149.501"_s, u"0.88012"_s,
                                 u"0.66507"_s, u"0.61009"_s, u"1.35508"_s, u"188.305"_s};
        for (qsizetype i = 0; i < prices.size(); ++i)
            texts.insert(QuoteScraper::pairs().at(i).elementId, prices.at(i));
    }
    QString table() const
    {
        QStringList all;
        for (const auto &pair : QuoteScraper::pairs())
            all << texts.value(pair.elementId);
        return all.join(u' ');
    }
    std::function<QString(const QString &)> reader() const
    {
        return [this](const QString &id) { return texts.value(id); };
    }
};

QStringList describe(const QList<Report> &reports)
{
    QStringList out;
    for (const Report &report : reports) {
        switch (report.kind) {
        case Report::Price: out << report.symbol + u' ' + report.value + u'+' + report.fractPip; break;
        case Report::Close: out << u"iClose "_s + report.symbol; break;
        case Report::Recovered: out << u"recovered"_s; break;
        case Report::Initialize: out << u"Initialize"_s; break;
        }
    }
    return out;
}

} // namespace

class tst_QuoteScraper : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void numbersAsThePicturesFormatThem_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("shown");
        QTest::newRow("padded") << "1.2345" << 5 << "1.23450";
        QTest::newRow("yen, two places") << "110.12" << 3 << "110.120";
        QTest::newRow("yen, three places") << "110.123" << 3 << "110.123";
        QTest::newRow("half away from zero") << "110.1235" << 3 << "110.124";
        QTest::newRow("below half") << "1.234564" << 5 << "1.23456";
        QTest::newRow("carry through nines") << "0.999995" << 5 << "1.00000";
        QTest::newRow("leading number only") << "1.0850 USD" << 5 << "1.08500";
        QTest::newRow("no whole part") << ".5" << 3 << "0.500";
        QTest::newRow("negative") << "-1.23455" << 4 << "-1.2346";
    }
    void numbersAsThePicturesFormatThem()
    {
        QFETCH(QString, cell);
        QFETCH(int, decimals);
        QFETCH(QString, shown);
        QCOMPARE(QuoteScraper::formatted(QuoteScraper::leadingNumber(cell), decimals), shown);
    }

    void zeroAndNonNumbers_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("zero");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("text") << "N/A" << true;
        QTest::newRow("zero") << "0.00000" << true;
        QTest::newRow("a price") << "0.00001" << false;
        QTest::newRow("blanks first") << "  1.1" << false;
    }
    void zeroAndNonNumbers()
    {
        QFETCH(QString, cell);
        QFETCH(bool, zero);
        QCOMPARE(QuoteScraper::isZero(QuoteScraper::leadingNumber(cell)), zero);
    }

    void theFirstTickRecordsAndAChangeIsRead()
    {
        QuoteScraper scraper;
        Cells cells;
        scraper.documentLoaded();
        QCOMPARE(scraper.interval(), QuoteScraper::ReadingMs);
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty()); // records only
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty()); // unchanged: still waiting
        cells.texts[u"bidElem0"_s] = u"1.2345"_s;
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty()); // changed: reading from the next tick
        const QStringList first = describe(scraper.tick(cells.table(), cells.reader()));
        QCOMPARE(first.size(), 9);
        QCOMPARE(first.front(), u"EURUSD 1.2345+0"_s);
        QCOMPARE(first.at(2), u"USDJPY 149.50+1"_s);
        QCOMPARE(first.last(), u"Initialize"_s);
        QVERIFY(scraper.Initialize());
        QCOMPARE(scraper.interval(), QuoteScraper::SteadyMs);
        // The same table twice: nothing.
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty());
        cells.texts[u"bidElem2"_s] = u"110.123"_s;
        const QStringList second = describe(scraper.tick(cells.table(), cells.reader()));
        QCOMPARE(second.size(), 8); // Initialize once only
        QCOMPARE(second.at(2), u"USDJPY 110.12+3"_s);
    }

    void anEmptyCellClosesAndTheOthersGoOnUntilARecovery()
    {
        QuoteScraper scraper;
        Cells cells;
        scraper.documentLoaded();
        scraper.tick(cells.table(), cells.reader());
        cells.texts[u"bidElem0"_s] = u"1.2345"_s;
        scraper.tick(cells.table(), cells.reader());
        scraper.tick(cells.table(), cells.reader());
        cells.texts[u"bidElem3"_s] = QString();
        const QStringList closed = describe(scraper.tick(cells.table(), cells.reader()));
        QCOMPARE(closed.at(1), u"iClose GBPUSD"_s);
        QCOMPARE(closed.size(), 8); // the other seven pairs are still reported, the empty one is not
        QVERIFY(!closed.contains(u"recovered"_s));
        // Back to waiting: the next change is recorded, then read.
        cells.texts[u"bidElem3"_s] = u"1.26010"_s;
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty());
        cells.texts[u"bidElem0"_s] = u"1.23460"_s;
        QVERIFY(scraper.tick(cells.table(), cells.reader()).isEmpty());
        const QStringList back = describe(scraper.tick(cells.table(), cells.reader()));
        QCOMPARE(back.size(), 9);
        QCOMPARE(back.at(1), u"GBPUSD 1.2601+0"_s);
        QCOMPARE(back.last(), u"recovered"_s);
    }

    // Where the broker's page may take the top frame: a redirect within the
    // broker's site (its registrable domain, or its host where it has none),
    // to https from http but to no other scheme; then that origin's own
    // navigations. Anything else stays refused.
    void theBrokersPageStaysOnTheBrokersSite_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("redirect");
        QTest::addColumn<bool>("allowed");
        const QString start = u"http://quotes.broker.com.cn//forexQuotes.aspx?a=1"_s;
        QTest::newRow("its own origin") << start << u"http://quotes.broker.com.cn/other"_s << false << true;
        QTest::newRow("redirect, http to https") << start << u"https://quotes.broker.com.cn/q"_s << true << true;
        QTest::newRow("redirect, another host of the site") << start << u"https://www.broker.com.cn/q"_s << true << true;
        QTest::newRow("redirect, another port") << u"http://127.0.0.1:8080/q"_s << u"http://127.0.0.1:9090/q"_s << true << true;
        QTest::newRow("not a redirect, another port") << u"http://127.0.0.1:8080/q"_s << u"http://127.0.0.1:9090/q"_s << false << false;
        QTest::newRow("redirect, another site under the same suffix") << start << u"https://evil.com.cn/q"_s << true << false;
        QTest::newRow("redirect, another host") << u"http://127.0.0.1:8080/q"_s << u"http://localhost:8080/q"_s << true << false;
        QTest::newRow("redirect, https to http") << u"https://broker.com/q"_s << u"http://broker.com/q"_s << true << false;
        QTest::newRow("redirect, another scheme") << start << u"ftp://quotes.broker.com.cn/q"_s << true << false;
        QTest::newRow("redirect, a file") << start << u"file:///etc/passwd"_s << true << false;
    }
    void theBrokersPageStaysOnTheBrokersSite()
    {
        QFETCH(QString, start);
        QFETCH(QString, target);
        QFETCH(bool, redirect);
        QFETCH(bool, allowed);
        BrokerSite site{QUrl(start)};
        QCOMPARE(site.allows(QUrl(target), redirect), allowed);
        // Once reached, the origin's own navigations are the page's.
        QCOMPARE(site.allows(QUrl(target).resolved(QUrl(u"/again"_s)), false), allowed);
    }
};

QTEST_GUILESS_MAIN(tst_QuoteScraper)
#include "tst_QuoteScraper.moc"
