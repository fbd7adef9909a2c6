#include "calendar/ReleaseValue.h"

#include <QTest>

using namespace Qt::StringLiterals;
using ReleaseValue::Surprise;

// Released figures read as numbers whatever their unit, and a result's
// surprise against the forecast, else the previous value.
class tst_ReleaseValue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void figuresAreReadAsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << u"1.5"_s << true << 1.5;
        QTest::newRow("percent") << u"3.5%"_s << true << 3.5;
        QTest::newRow("full-width percent and minus") << u"－0.2％"_s << true << -0.2;
        QTest::newRow("sign") << u"+12.5"_s << true << 12.5;
        QTest::newRow("negative") << u"-0.3%"_s << true << -0.3;
        QTest::newRow("thousands") << u"250K"_s << true << 250e3;
        QTest::newRow("millions, lower case") << u"1.2m"_s << true << 1.2e6;
        QTest::newRow("billions") << u"-3B"_s << true << -3e9;
        QTest::newRow("wan with a unit word") << u"5.2万人"_s << true << 5.2e4;
        QTest::newRow("yi with a unit word") << u"3.4亿美元"_s << true << 3.4e8;
        QTest::newRow("separators and blanks") << u" 1,234.5 K "_s << true << 1234.5e3;
        QTest::newRow("range counts by its middle") << u"1.0~1.2"_s << true << 1.1;
        QTest::newRow("range with units") << u"200K～300K"_s << true << 250e3;
        QTest::newRow("empty") << QString() << false << 0.0;
        QTest::newRow("question mark") << u"?"_s << false << 0.0;
        QTest::newRow("words") << u"维持不变"_s << false << 0.0;
        QTest::newRow("two numbers") << u"1.2 1.3"_s << false << 0.0;
        QTest::newRow("half a range") << u"1.0~"_s << false << 0.0;
        QTest::newRow("three-part range") << u"1~2~3"_s << false << 0.0;
    }
    void figuresAreReadAsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const std::optional<double> read = ReleaseValue::read(text);
        QCOMPARE(read.has_value(), isNumber);
        if (isNumber)
            QVERIFY2(qFuzzyCompare(*read, value), qPrintable(QString::number(*read)));
    }

    void aResultIsMarkedAgainstWhatWasExpected_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("forecast");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<Surprise>("surprise");
        QTest::newRow("above the forecast") << u"0.5%"_s << u"0.3%"_s << u"0.9%"_s << Surprise::Above;
        QTest::newRow("below the forecast") << u"180K"_s << u"0.2M"_s << QString() << Surprise::Below;
        QTest::newRow("meets it in another unit") << u"250K"_s << u"0.25M"_s << QString() << Surprise::Meets;
        QTest::newRow("no forecast: the previous value") << u"-0.1"_s << QString() << u"0.2"_s << Surprise::Below;
        QTest::newRow("a range forecast") << u"1.15"_s << u"1.0~1.2"_s << QString() << Surprise::Above;
        QTest::newRow("a forecast that is no number") << u"1.2"_s << u"持平"_s << u"1.0"_s << Surprise::None;
        QTest::newRow("a result that is no number") << u"?"_s << u"1.0"_s << QString() << Surprise::None;
        QTest::newRow("nothing to compare with") << u"1.0"_s << QString() << QString() << Surprise::None;
    }
    void aResultIsMarkedAgainstWhatWasExpected()
    {
        QFETCH(QString, result);
        QFETCH(QString, forecast);
        QFETCH(QString, previous);
        QFETCH(Surprise, surprise);
        const Surprise found = ReleaseValue::compare(result, forecast, previous);
        QCOMPARE(found, surprise);
        const QString mark = ReleaseValue::mark(found);
        QCOMPARE(mark, surprise == Surprise::Above ? u"▲"_s : surprise == Surprise::Below ? u"▼"_s : QString());
        QCOMPARE(ReleaseValue::words(found).isEmpty(), surprise == Surprise::None);
    }
};

QTEST_GUILESS_MAIN(tst_ReleaseValue)
#include "tst_ReleaseValue.moc"
