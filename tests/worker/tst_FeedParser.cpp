#include "worker/FeedJson.h"
#include "worker/FeedParser.h"
#include "worker/FeedPass.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

const QString fixtures = QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/feeds/");

const QString feedUrl = QStringLiteral("https://news.example.cn/feeds/flash.xml");
const QDateTime now = QDateTime(QDate(2026, 12, 8), QTime(6, 0), Qt::UTC);

// Every member of `expected` is in `actual` with the same value; arrays of
// objects are compared element by element the same way.
void compareSubset(const QJsonValue &actual, const QJsonValue &expected, const QString &path)
{
    if (expected.isObject()) {
        QVERIFY2(actual.isObject(), qPrintable(path + QStringLiteral(" is not an object")));
        const QJsonObject wanted = expected.toObject();
        for (auto it = wanted.begin(); it != wanted.end(); ++it) {
            QVERIFY2(actual.toObject().contains(it.key()), qPrintable(path + QStringLiteral(".") + it.key() + QStringLiteral(" missing")));
            compareSubset(actual.toObject().value(it.key()), it.value(), path + QStringLiteral(".") + it.key());
            if (QTest::currentTestFailed())
                return;
        }
    } else if (expected.isArray() && !expected.toArray().isEmpty() && expected.toArray().first().isObject()) {
        QCOMPARE(actual.toArray().size(), expected.toArray().size());
        for (qsizetype i = 0; i < expected.toArray().size(); ++i) {
            compareSubset(actual.toArray().at(i), expected.toArray().at(i), path + QStringLiteral("[%1]").arg(i));
            if (QTest::currentTestFailed())
                return;
        }
    } else {
        QVERIFY2(actual == expected, qPrintable(path + QStringLiteral(": ")
                                                + QString::fromUtf8(QJsonDocument(QJsonArray{actual}).toJson(QJsonDocument::Compact))
                                                + QStringLiteral(" instead of ")
                                                + QString::fromUtf8(QJsonDocument(QJsonArray{expected}).toJson(QJsonDocument::Compact))));
    }
}

} // namespace

// Feeds of every shape the sites serve, read field by field.
class tst_FeedParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each NAME.feed holds the bytes as fetched; NAME.expect.json the
    // Content-Type they came with and the fields the feed must have.
    void readsTheFeed_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &file : QDir(fixtures).entryList({QStringLiteral("*.feed")}))
            QTest::newRow(qPrintable(file.chopped(5))) << file.chopped(5);
    }
    void readsTheFeed()
    {
        QFETCH(QString, name);
        QFile body(fixtures + name + QStringLiteral(".feed"));
        QFile expected(fixtures + name + QStringLiteral(".expect.json"));
        QVERIFY(body.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
        QJsonParseError parseError{};
        const QJsonObject want = QJsonDocument::fromJson(expected.readAll(), &parseError).object();
        QVERIFY2(want.contains(QStringLiteral("feed")), qPrintable(parseError.errorString()));
        QString error;
        const std::optional<Feed> feed = FeedParser::parse(
            body.readAll(), want.value(QStringLiteral("contentType")).toString(), feedUrl, now, &error);
        QVERIFY2(feed, qPrintable(error));
        compareSubset(QJsonDocument::fromJson(FeedJson::write(*feed)).object(), want.value(QStringLiteral("feed")),
                      QStringLiteral("feed"));
    }

    void refusesWhatIsNoFeed_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("html page") << QByteArray("<html><body><p>no feed</p></body></html>");
        QTest::newRow("other xml") << QByteArray("<?xml version='1.0'?><note><to>x</to></note>");
        QTest::newRow("json without version") << QByteArray("{\"items\":[]}");
        QTest::newRow("broken json") << QByteArray("{\"version\":\"https://jsonfeed.org/version/1\",");
    }
    void refusesWhatIsNoFeed()
    {
        QFETCH(QByteArray, body);
        QString error;
        QVERIFY(!FeedParser::parse(body, QString(), feedUrl, now, &error));
        QVERIFY(error.startsWith(QStringLiteral("not a feed")));
    }

    // Keys (id, else link, else title and date), what is known, the order
    // (oldest first, an undated item where the feed put it) and the first
    // fetch's limit.
    void newItemsAreTheUnknownOnesOldestFirst_data()
    {
        QTest::addColumn<QStringList>("items"); // "id|link|title|minute" newest first, as feeds list them
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("keys");  // of the new items, in the order reported; "~": quiet
        QTest::newRow("by id, oldest first") << QStringList{u"c|||30"_s, u"b|||20"_s, u"a|||10"_s} << QStringList{u"x"_s}
                                             << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("known ones left out") << QStringList{u"c|||30"_s, u"b|||20"_s, u"a|||10"_s} << QStringList{u"b"_s}
                                             << QStringList{u"a"_s, u"c"_s};
        QTest::newRow("link, then title and date") << QStringList{u"|http://l/1|t1|10"_s, u"||t2|"_s} << QStringList{u"x"_s}
                                                   << QStringList{u"t2\n"_s, u"http://l/1"_s};
        QTest::newRow("out of order dates") << QStringList{u"a|||10"_s, u"c|||30"_s, u"b|||20"_s} << QStringList{u"x"_s}
                                            << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("undated keeps its place") << QStringList{u"c|||30"_s, u"u|||"_s, u"a|||10"_s} << QStringList{u"x"_s}
                                                 << QStringList{u"a"_s, u"u"_s, u"c"_s};
        QTest::newRow("one key once") << QStringList{u"a|||20"_s, u"a|||10"_s} << QStringList{u"x"_s} << QStringList{u"a"_s};
        QStringList many;
        QStringList newest;
        for (int i = 30; i >= 1; --i)
            many << QStringLiteral("k%1|||%1").arg(i);
        for (int i = 1; i <= 30; ++i)
            newest << (i > 30 - FeedPass::FirstFetchLimit ? QStringLiteral("k%1") : QStringLiteral("~k%1")).arg(i);
        QTest::newRow("first fetch: the newest twenty, the older ones quiet") << many << QStringList() << newest;
    }
    void newItemsAreTheUnknownOnesOldestFirst()
    {
        QFETCH(QStringList, items);
        QFETCH(QStringList, known);
        QFETCH(QStringList, keys);
        Feed feed;
        for (const QString &line : items) {
            const QStringList parts = line.split(u'|');
            FeedItem item;
            item.id = parts.at(0);
            item.link = parts.at(1);
            item.title = parts.at(2);
            if (!parts.at(3).isEmpty())
                item.published = now.addSecs(parts.at(3).toInt() * 60);
            feed.items << item;
        }
        QStringList reported;
        for (const FeedPass::KeyedItem &keyed : FeedPass::newItems(feed, QSet<QString>(known.begin(), known.end())))
            reported << (keyed.quiet ? u"~"_s : QString()) + keyed.key;
        QCOMPARE(reported, keys);
    }
};

QTEST_GUILESS_MAIN(tst_FeedParser)
#include "tst_FeedParser.moc"
