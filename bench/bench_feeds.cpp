// Feed sources: one parse of a 1,000-item feed of each kind, and one pass of
// twenty feed sources fetched at once from a loopback server.
#include "support/TestHttpServer.h"
#include "worker/FeedFetcher.h"
#include "worker/FeedParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringEncoder>
#include <QThread>

#include <atomic>

#include <benchmark/benchmark.h>

namespace {

constexpr int Items = 1000;

QString headline(int i)
{
    return QStringLiteral("美联储官员：通胀仍然过高，镕基%1 &amp; 欧元/美元 1.08~1.09").arg(i);
}

QByteArray rss()
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?><rss version=\"2.0\"><channel><title>快讯</title>");
    for (int i = 0; i < Items; ++i)
        text += QStringLiteral("<item><title>%1</title><link>https://f.example.cn/%2.html</link><guid isPermaLink=\"false\">g%2</guid>"
                               "<pubDate>Tue, 08 Dec 2026 14:%3:00 +0800</pubDate><category>重要</category>"
                               "<description><![CDATA[<p>摘要 <b>%2</b></p><script>x()</script>]]></description></item>")
                    .arg(headline(i))
                    .arg(i)
                    .arg(i % 60, 2, 10, QChar(u'0'));
    QStringEncoder encoder("GB18030");
    return encoder.encode(text + QStringLiteral("</channel></rss>"));
}

QByteArray atom()
{
    QString text = QStringLiteral("<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>快讯</title>");
    for (int i = 0; i < Items; ++i)
        text += QStringLiteral("<entry><id>tag:f,2026:%2</id><title type=\"html\">%1</title>"
                               "<link rel=\"alternate\" type=\"text/html\" href=\"/%2.html\"/>"
                               "<published>2026-12-08T14:%3:00+08:00</published><summary type=\"html\">&lt;p&gt;摘要 %2&lt;/p&gt;</summary></entry>")
                    .arg(headline(i))
                    .arg(i)
                    .arg(i % 60, 2, 10, QChar(u'0'));
    return (text + QStringLiteral("</feed>")).toUtf8();
}

QByteArray json()
{
    QString items;
    for (int i = 0; i < Items; ++i)
        items += QStringLiteral("%1{\"id\":\"%2\",\"url\":\"https://f.example.cn/%2\",\"title\":\"%3\","
                                "\"content_html\":\"<p>摘要 %2</p>\",\"date_published\":\"2026-12-08T14:%4:00+08:00\"}")
                     .arg(i ? QStringLiteral(",") : QString())
                     .arg(i)
                     .arg(headline(i))
                     .arg(i % 60, 2, 10, QChar(u'0'));
    return (QStringLiteral("{\"version\":\"https://jsonfeed.org/version/1.1\",\"title\":\"快讯\",\"items\":[") + items
            + QStringLiteral("]}"))
        .toUtf8();
}

void parse(benchmark::State &state, QByteArray (*make)())
{
    const QByteArray body = make();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto _ : state) {
        QString error;
        std::optional<Feed> feed = FeedParser::parse(body, QString(), QStringLiteral("https://f.example.cn/feed"), now, &error);
        if (!feed || feed->items.size() != Items)
            state.SkipWithError("the feed did not parse whole");
        benchmark::DoNotOptimize(feed);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * body.size());
}

// Twenty sources of 1,000 items each, fetched and read at once, each on a
// thread of its own as in the worker server; wall time until the last ends.
void twentySources(benchmark::State &state)
{
    constexpr int Sources = 20;
    TestHttpServer server;
    const QByteArray body = rss();
    for (int i = 0; i < Sources; ++i)
        server.serve(QStringLiteral("/feed%1").arg(i), body, 200, "application/rss+xml");
    std::vector<std::unique_ptr<QThread>> threads;
    std::vector<FeedFetcher *> fetchers;
    for (int i = 0; i < Sources; ++i) {
        threads.push_back(std::make_unique<QThread>());
        auto *fetcher = new FeedFetcher;
        fetcher->moveToThread(threads.back().get());
        QObject::connect(threads.back().get(), &QThread::finished, fetcher, &QObject::deleteLater);
        threads.back()->start();
        fetchers.push_back(fetcher);
    }
    for (auto _ : state) {
        std::atomic<int> done = 0;
        std::vector<QMetaObject::Connection> connections;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < Sources; ++i) {
            FeedFetcher *fetcher = fetchers[size_t(i)];
            connections.push_back(QObject::connect(fetcher, &FeedFetcher::completed, fetcher, [&done](bool) { ++done; }));
            connections.push_back(QObject::connect(fetcher, &FeedFetcher::failed, fetcher, [&done](const QString &, int) { ++done; }));
            const QString url = server.url(QStringLiteral("/feed%1").arg(i));
            QMetaObject::invokeMethod(fetcher, [fetcher, url] { fetcher->fetch(url, FeedSource(), {}); }, Qt::QueuedConnection);
        }
        while (done < Sources)
            QThread::msleep(1);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        for (const QMetaObject::Connection &connection : connections)
            QObject::disconnect(connection);
    }
    for (const std::unique_ptr<QThread> &thread : threads) {
        thread->quit();
        thread->wait();
    }
}

} // namespace

BENCHMARK_CAPTURE(parse, rss_gb2312_1000_items, rss)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parse, atom_1000_items, atom)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parse, json_feed_1000_items, json)->Unit(benchmark::kMillisecond);
BENCHMARK(twentySources)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
