#include "support/SiteSimulator.h"
#include "worker/FeedFetcher.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What one pass of a fetcher said.
struct Pass
{
    QList<FeedPass::KeyedItem> items;
    std::optional<bool> news;          // completed
    QString failure;
    int retryAfter = -1;
    bool timedOut = false;

    bool ended() const { return news || !failure.isEmpty() || timedOut; }
};

Pass run(FeedFetcher &fetcher, const QString &url, const FeedSource &source, const QSet<QString> &known = {})
{
    Pass pass;
    QObject context;
    QObject::connect(&fetcher, &FeedFetcher::item, &context, [&pass](const FeedPass::KeyedItem &item) { pass.items << item; });
    QObject::connect(&fetcher, &FeedFetcher::completed, &context, [&pass](bool news) { pass.news = news; });
    QObject::connect(&fetcher, &FeedFetcher::failed, &context, [&pass](const QString &message, int retryAfter) {
        pass.failure = message;
        pass.retryAfter = retryAfter;
    });
    QObject::connect(&fetcher, &FeedFetcher::timedOut, &context, [&pass] { pass.timedOut = true; });
    fetcher.fetch(url, source, known);
    // Every pass ends, by the fetcher's own deadline at the latest.
    [[maybe_unused]] const bool ended = QTest::qWaitFor([&pass] { return pass.ended(); }, 60000);
    return pass;
}

FeedSource sourceOf(const QString &kind)
{
    FeedSource source;
    source.kind = kind;
    if (kind == u"page"_s)
        source.selectors = {u".flash > .row"_s, u"a.h"_s, QString(), u"span.t"_s, u"p.s"_s};
    return source;
}

} // namespace

// Feed and page sources fetched from the simulator, as the worker fetches them.
class tst_FeedFetcher : public QObject
{
    Q_OBJECT

private:
    SiteSimulator m_sim;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_sim.start({u"--every"_s, u"3600"_s})); }

    // A first fetch shows the newest twenty, oldest first; the next asks
    // conditionally and an unchanged feed answers 304: nothing, even with no
    // known keys.
    void readsEachKindAndAsksAgainConditionally_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("path");
        QTest::newRow("rss declared gb2312") << u"auto"_s << u"/feeds/flash.rss"_s;
        QTest::newRow("atom") << u"atom"_s << u"/feeds/flash.atom"_s;
        QTest::newRow("json feed") << u"json"_s << u"/feeds/flash.json"_s;
        QTest::newRow("page by selectors") << u"page"_s << u"/feeds/flash.html"_s;
    }
    void readsEachKindAndAsksAgainConditionally()
    {
        QFETCH(QString, kind);
        QFETCH(QString, path);
        FeedFetcher fetcher;
        const Pass first = run(fetcher, m_sim.base() + path, sourceOf(kind));
        QVERIFY(first.ended());
        QCOMPARE(first.failure, QString());
        const auto shown = std::count_if(first.items.cbegin(), first.items.cend(),
                                         [](const FeedPass::KeyedItem &keyed) { return !keyed.quiet; });
        QCOMPARE(shown, FeedPass::FirstFetchLimit);
        QCOMPARE(first.news, std::optional<bool>(true));
        for (qsizetype i = 1; i < first.items.size(); ++i)
            QVERIFY(*first.items.at(i - 1).item.published <= *first.items.at(i).item.published);
        for (const FeedPass::KeyedItem &keyed : first.items) {
            QVERIFY(!keyed.item.title.isEmpty());
            QVERIFY(keyed.item.link.startsWith(m_sim.base() + u"/feeds/"_s));
            QVERIFY(!keyed.item.title.contains(u'\uFFFD'));
        }
        const Pass again = run(fetcher, m_sim.base() + path, sourceOf(kind));
        QCOMPARE(again.failure, QString());
        QVERIFY(again.items.isEmpty());
        QCOMPARE(again.news, std::optional<bool>(false));
    }

    void eachFaultEndsThePassAsItShould_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("failure"); // the start of the message; empty: the pass completes
        QTest::addColumn<int>("retryAfter");
        QTest::newRow("500") << u"500"_s << u"HTTP 500"_s << 0;
        QTest::newRow("429 with Retry-After") << u"429"_s << u"服务器忙 (HTTP 429)"_s << 120;
        QTest::newRow("redirect loop") << u"redirect"_s << u"重定向次数过多"_s << 0;
        QTest::newRow("huge") << u"huge"_s << u"文件过大"_s << 0;
        QTest::newRow("garbage") << u"garbage"_s << u"不是新闻源"_s << 0;
        QTest::newRow("empty") << u"empty"_s << u"不是新闻源"_s << 0;
        QTest::newRow("entity bomb") << u"bomb"_s << QString() << -1;
        QTest::newRow("hostile") << u"hostile"_s << QString() << -1;
    }
    void eachFaultEndsThePassAsItShould()
    {
        QFETCH(QString, fault);
        QFETCH(QString, failure);
        QFETCH(int, retryAfter);
        QCOMPARE(m_sim.get(u"/control?feed=rss&fault="_s + fault), QByteArray("ok"));
        FeedFetcher fetcher;
        const Pass pass = run(fetcher, m_sim.base() + u"/feeds/flash.rss"_s, sourceOf(u"rss"_s));
        m_sim.get(u"/control?feed=rss&fault=none"_s);
        QVERIFY(pass.ended());
        if (!failure.isEmpty()) {
            QVERIFY2(pass.failure.startsWith(failure), qPrintable(pass.failure));
            QCOMPARE(pass.retryAfter, retryAfter);
            QVERIFY(pass.items.isEmpty());
            return;
        }
        QCOMPARE(pass.failure, QString());
        QVERIFY(pass.news);
        for (const FeedPass::KeyedItem &keyed : pass.items) {
            // Nothing of the markup, no script's text, no link but http(s), nothing expanded.
            for (const QString &text : {keyed.item.title, keyed.item.summary}) {
                QVERIFY2(!text.contains(u'<') && !text.contains(u"alert"_s) && !text.contains(u"owned"_s), qPrintable(text));
                QVERIFY(text.size() < 1000);
            }
            QVERIFY(keyed.item.link.isEmpty() || keyed.item.link.startsWith(u"http"_s));
        }
    }
};

QTEST_GUILESS_MAIN(tst_FeedFetcher)
#include "tst_FeedFetcher.moc"
