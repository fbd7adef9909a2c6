#include "support/ProgramRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString feeds = QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/feeds/");

} // namespace

// The commands that read a saved feed or page: `torvel --parse-feed` and `--parse-page`.
class tst_torvel_parse_feed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsOneJsonObject_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        // Members of the printed object, as "path=value" (items[N].member), or
        // the start of the one line on standard error.
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("feed with its address")
            << QStringList{QStringLiteral("--parse-feed"), feeds + QStringLiteral("rss2-fields.feed"),
                           QStringLiteral("--url"), QStringLiteral("https://a.example.cn/feed/")}
            << 0
            << QStringList{QStringLiteral("kind=rss"), QStringLiteral("items[0].link=https://a.example.cn/a/1.html"),
                           QStringLiteral("items[0].published=2026-12-08T06:30:00Z"),
                           QStringLiteral("items[2].published=null")};
        QTest::newRow("feed with the charset it came with")
            << QStringList{QStringLiteral("--parse-feed"), feeds + QStringLiteral("http-charset-over-declaration.feed"),
                           QStringLiteral("--content-type"), QStringLiteral("application/xml; charset=GBK")}
            << 0 << QStringList{QStringLiteral("items[0].title=欧元")};
        QTest::newRow("not a feed")
            << QStringList{QStringLiteral("--parse-feed"), feeds + QStringLiteral("flash-page.htm")} << 2
            << QStringList{QStringLiteral("torvel: not a feed")};
        QTest::newRow("no such file")
            << QStringList{QStringLiteral("--parse-feed"), feeds + QStringLiteral("missing.xml")} << 2
            << QStringList{QStringLiteral("torvel: ")};
        QTest::newRow("page by selectors")
            << QStringList{QStringLiteral("--parse-page"), feeds + QStringLiteral("flash-page.htm"),
                           QStringLiteral("--item"), QStringLiteral(".flash > .row"),
                           QStringLiteral("--title"), QStringLiteral("a.h"),
                           QStringLiteral("--time"), QStringLiteral("span.t"),
                           QStringLiteral("--summary"), QStringLiteral("p.s"),
                           QStringLiteral("--url"), QStringLiteral("https://p.example.cn/flash/")}
            << 0
            << QStringList{QStringLiteral("kind=page"), QStringLiteral("items#=3"),
                           QStringLiteral("items[0].title=美国十一月非农就业人数增加22.7万"),
                           QStringLiteral("items[0].link=https://p.example.cn/news/1.html"),
                           QStringLiteral("items[0].published=2026-12-08T06:30:00Z"),
                           QStringLiteral("items[0].summary=预期 20万"),
                           QStringLiteral("items[1].link="), QStringLiteral("items[2].published=null")};
        QTest::newRow("page link from an attribute")
            << QStringList{QStringLiteral("--parse-page"), feeds + QStringLiteral("flash-page.htm"),
                           QStringLiteral("--item"), QStringLiteral(".row:nth-child(3)"),
                           QStringLiteral("--title"), QStringLiteral("a"),
                           QStringLiteral("--link"), QStringLiteral("a@data-href")}
            << 0 << QStringList{QStringLiteral("items#=1"), QStringLiteral("items[0].link=https://other.example.cn/3")};
        QTest::newRow("page with a selector outside the subset")
            << QStringList{QStringLiteral("--parse-page"), feeds + QStringLiteral("flash-page.htm"),
                           QStringLiteral("--item"), QStringLiteral(".row:first-child"),
                           QStringLiteral("--title"), QStringLiteral("a")}
            << 2 << QStringList{QStringLiteral("torvel: Item selector")};
        QTest::newRow("page without a title selector")
            << QStringList{QStringLiteral("--parse-page"), feeds + QStringLiteral("flash-page.htm"),
                           QStringLiteral("--item"), QStringLiteral(".row")}
            << 2 << QStringList{QStringLiteral("torvel: a page source needs")};
    }
    void printsOneJsonObject()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, expected);
        const ProgramRun run = ProgramRun::of(QStringLiteral("torvel"), arguments);
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode != 0) {
            QCOMPARE(run.out, QByteArray());
            QCOMPARE(run.errors.count(u'\n'), 1);
            QVERIFY2(run.errors.startsWith(expected.first()), qPrintable(run.errors));
            return;
        }
        QCOMPARE(run.errors, QString());
        QJsonParseError error{};
        const QJsonObject feed = QJsonDocument::fromJson(run.out, &error).object();
        QVERIFY2(!feed.isEmpty(), qPrintable(error.errorString()));
        for (const QString &member : expected) {
            const QString path = member.section(u'=', 0, 0);
            const QString want = member.section(u'=', 1);
            QString actual;
            if (path == QStringLiteral("items#")) {
                actual = QString::number(feed.value(QStringLiteral("items")).toArray().size());
            } else if (path.startsWith(QStringLiteral("items["))) {
                const int index = path.section(u'[', 1).section(u']', 0, 0).toInt();
                const QJsonValue value = feed.value(QStringLiteral("items")).toArray().at(index).toObject().value(
                    path.section(u'.', 1));
                actual = value.isNull() ? QStringLiteral("null") : value.toString();
            } else {
                actual = feed.value(path).toString();
            }
            QCOMPARE(actual, want);
        }
    }
};

QTEST_GUILESS_MAIN(tst_torvel_parse_feed)
#include "tst_torvel_parse_feed.moc"
