#include "protocol/SourceId.h"
#include "worker/PageDecoder.h"
#include "worker/PageText.h"

#include <QTest>

class tst_PageText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void snippetLink()
    {
        QCOMPARE(PageText::snippetLink(QStringLiteral("http://a/x'y\"z<w>v\\u`t s?a=1&b=2~3")),
                 QStringLiteral("http://a/x%27y%22z%3Cw%3Ev%5Cu%60t%20s?a=1&amp;b=2%7E3"));
    }

    void occursIn_data()
    {
        QTest::addColumn<QString>("known");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("occurs");
        QTest::newRow("whole title") << "美元走强欧元走弱" << "欧元走弱" << true;
        QTest::newRow("part of a longer title") << "美联储维持利率不变" << "维持利率" << true;
        QTest::newRow("across two entries") << "美元走强欧元走弱" << "走强欧元" << true;
        QTest::newRow("case sensitive") << "USD up" << "usd up" << false;
        QTest::newRow("absent") << "美元走强" << "日元走强" << false;
        QTest::newRow("empty known") << "" << "" << false;
        QTest::newRow("empty text") << "x" << "" << true;
    }
    void occursIn()
    {
        QFETCH(QString, known);
        QFETCH(QString, text);
        QFETCH(bool, occurs);
        QCOMPARE(PageText::occursIn(known, text), occurs);
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("month") << "9月5日" << 9;
        QTest::newRow("two digits") << "12月" << 12;
        QTest::newRow("blanks") << "  7x" << 7;
        QTest::newRow("none") << "月" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign is no digit") << "-3" << 0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(PageText::leadingNumber(text), number);
    }

    void decoding_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("gbk") << 101 << QByteArray("\xc3\xc0\xd4\xaa\xd7\xdf\xc7\xbf <b>") << QStringLiteral("美元走强 <b>");
        QTest::newRow("gb18030 four bytes") << 104 << QByteArray("\x90\x30\x81\x30") << QStringLiteral("\U00010000");
        QTest::newRow("gbk invalid byte") << 102 << QByteArray("a\xff" "b") << QStringLiteral("a\uFFFDb");
        QTest::newRow("gbk cut at the end") << 105 << QByteArray("ab\xc3") << QStringLiteral("ab\uFFFD");
        QTest::newRow("utf-8") << 100 << QByteArray("\xe7\xbe\x8e\xe5\x85\x83") << QStringLiteral("美元");
        QTest::newRow("utf-8 whatever the page declares") << 103 << QByteArray("<meta charset=gbk>\xe7\xbe\x8e")
                                                          << QStringLiteral("<meta charset=gbk>美");
        QTest::newRow("utf-8 invalid") << 100 << QByteArray("a\xc3(b") << QStringLiteral("a\uFFFD(b");
        QTest::newRow("empty") << 101 << QByteArray() << QString();
    }
    void decoding()
    {
        QFETCH(int, source);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        const QString decoded = PageDecoder::decode(SourceId::name(source), body);
        QCOMPARE(decoded, text);
        QVERIFY(!decoded.contains(QChar(0)));
    }
};

QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_PageText.moc"
