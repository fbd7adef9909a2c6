#include "quotes/QuoteBoard.h"
#include "quotes/QuotePanelLayout.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_QuoteBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void movesColourThePrice_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("colour");
        QTest::newRow("rise") << "1.2345" << "1.2346" << "#FF0000";
        QTest::newRow("fall") << "1.2346" << "1.2345" << "#008F00";
        QTest::newRow("rise past a round number") << "99.99" << "100.01" << "#FF0000";
        QTest::newRow("fall past a round number") << "100.01" << "99.99" << "#008F00";
    }
    void movesColourThePrice()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, colour);
        QuoteBoard board;
        const auto first = board.price(u"EURUSD"_s, from, u"0"_s, false);
        QVERIFY(first && first->colour.isEmpty()); // the first pass sets texts only
        const auto moved = board.price(u"EURUSD"_s, to, u"1"_s, true);
        QVERIFY(moved);
        QCOMPARE(moved->colour, colour);
        QCOMPARE(moved->value, to);
        // The same pip value again: black, its last digit always current, then nothing.
        const auto steady = board.price(u"EURUSD"_s, to, u"7"_s, true);
        QVERIFY(steady);
        QCOMPARE(steady->colour, QString(QuoteBoard::Steady));
        const auto lastDigit = board.price(u"EURUSD"_s, to, u"8"_s, true);
        QVERIFY(lastDigit);
        QCOMPARE(lastDigit->fractPip, u"8"_s);
        QCOMPARE(lastDigit->colour, QString(QuoteBoard::Steady));
        QVERIFY(!board.price(u"EURUSD"_s, to, u"8"_s, true));
        QCOMPARE(board.current(u"EURUSD"_s), (std::pair<QString, QString>{to, u"8"_s}));
    }

    // The scraper may count as started before the first pass's prices are
    // handled: a pair's first price still paints no colour.
    void aFirstPriceIsNeverColoured()
    {
        QuoteBoard board;
        const auto first = board.price(u"USDJPY"_s, u"149.5"_s, u"3"_s, true);
        QVERIFY(first);
        QVERIFY(first->colour.isEmpty());
        QCOMPARE(board.price(u"USDJPY"_s, u"149.6"_s, u"0"_s, true)->colour, QString(QuoteBoard::Rise));
    }

    void thePanelShowsWholeColumns_data()
    {
        QTest::addColumn<int>("clientWidth");
        QTest::addColumn<int>("columns");
        QTest::newRow("two") << 100 << 2;
        QTest::newRow("one") << 95 << 1;
        QTest::newRow("at least one") << 10 << 1;
        QTest::newRow("at most eight") << 700 << 8;
        QTest::newRow("exactly three") << 192 << 3;
    }
    void thePanelShowsWholeColumns()
    {
        QFETCH(int, clientWidth);
        QFETCH(int, columns);
        QCOMPARE(QuotePanelLayout::columns(clientWidth), columns);
    }
};

QTEST_GUILESS_MAIN(tst_QuoteBoard)
#include "tst_QuoteBoard.moc"
