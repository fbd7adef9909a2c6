// The news history on 200,000 items: the insert rate in the batches the
// program writes, the start-up read that fills the tables, and searches of a
// two-character word (substring), a longer word (trigram index), several
// words and a source filter.
#include "news/HistoryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Items = 200000;
const QStringList Sources{QStringLiteral("FXark"), QStringLiteral("FX168"), QStringLiteral("DailyFX"), QStringLiteral("CaiXun"),
                          QStringLiteral("FX678"), QStringLiteral("HeXun"), QStringLiteral("快讯")};
const QStringList Words{QStringLiteral("美联储"), QStringLiteral("非农"), QStringLiteral("欧元"), QStringLiteral("日本央行"),
                        QStringLiteral("通胀"), QStringLiteral("原油"), QStringLiteral("黄金"), QStringLiteral("英镑")};

HistoryItem item(int i)
{
    HistoryItem made;
    made.source = Sources.at(i % Sources.size());
    made.key = QString::number(i);
    made.row.title = QStringLiteral("%1讲话后%2走强，交易员押注年内降息 %3").arg(Words.at(i % Words.size()), Words.at(i / 7 % Words.size())).arg(i);
    made.row.summary = QStringLiteral("市场风险情绪回暖，%1小幅上扬").arg(Words.at(i / 3 % Words.size()));
    made.row.timeKey = QStringLiteral("202612081430");
    made.arrived = QDateTime::currentDateTimeUtc();
    return made;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The history of 200,000 items, made once for the reading benchmarks.
HistoryStore &filled()
{
    static HistoryStore store(QStringLiteral("filled"));
    if (!store.isOpen()) {
        store.open(folder().filePath(QStringLiteral("filled.db")), QDateTime::currentDateTimeUtc());
        for (int start = 0; start < Items; start += 1000) {
            QList<HistoryItem> batch;
            for (int i = start; i < start + 1000; ++i)
                batch << item(i);
            store.add(batch);
        }
    }
    return store;
}

// One second's batch of news, as the program writes it.
void BM_InsertBatchOf20(benchmark::State &state)
{
    HistoryStore store(QStringLiteral("insert"));
    store.open(folder().filePath(QStringLiteral("insert.db")), QDateTime::currentDateTimeUtc());
    int next = 0;
    for (auto _ : state) {
        QList<HistoryItem> batch;
        for (int i = 0; i < 20; ++i)
            batch << item(next++);
        benchmark::DoNotOptimize(store.add(batch));
    }
    state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_InsertBatchOf20)->Unit(benchmark::kMillisecond);

void BM_StartupFill(benchmark::State &state)
{
    HistoryStore &store = filled();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.newest(Sources, 80));
}
BENCHMARK(BM_StartupFill)->Unit(benchmark::kMillisecond);

void BM_Search(benchmark::State &state, const QString &query)
{
    HistoryStore &store = filled();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.search(query, 300));
}
BENCHMARK_CAPTURE(BM_Search, two_characters, QStringLiteral("非农"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, two_characters_rare, QStringLiteral("比特"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, longer_word, QStringLiteral("日本央行"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, rare_number, QStringLiteral("199999"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, several_words, QStringLiteral("美联储 英镑 降息"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, source_filter, QStringLiteral("FX168: 黄金"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, miss, QStringLiteral("比特币"))->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
