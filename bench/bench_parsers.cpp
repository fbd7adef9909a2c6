// Each parser's full pass over its 60-item fixture page, beside the time gumbo
// alone needs to parse the same whole page; and one pass over a 2 MiB page.
#include "html/HtmlDocument.h"
#include "protocol/SourceId.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <gumbo.h>

namespace {

struct Fixture
{
    qint32 id;
    const char *file;
};

const Fixture fixtures[] = {
    {s_FXark, "fxark_60_items_briefs_hostile"}, {s_FX168, "fx168_60_items_shortened_links"},
    {s_FX678, "fx678_60_items_relative_links"}, {s_Dailyfx, "dailyfx_60_items_summaries"},
    {s_HeXun, "hexun_60_items"},                {s_CaiXun, "caixun_60_items_briefs"},
};

QString page(const Fixture &fixture)
{
    QFile file(QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/") + QString::fromLatin1(fixture.file)
               + QStringLiteral(".html"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", fixture.file);
    return PageDecoder::decode(SourceId::name(fixture.id), file.readAll());
}

void parserPass(benchmark::State &state, const Fixture &fixture)
{
    const QString text = page(fixture);
    const QString url = QStringLiteral("http://127.0.0.1/news/list.html");
    HtmlDocument document;
    for (auto _ : state) {
        ParseEvents events = SourceParsers::parse(SourceId::name(fixture.id), text, QString(), url, document);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size() * 2);
}

void gumboWholePage(benchmark::State &state, const Fixture &fixture)
{
    const QByteArray utf8 = page(fixture).toUtf8();
    for (auto _ : state) {
        GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
        benchmark::DoNotOptimize(output);
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * utf8.size());
}

// A HeXun page grown to 2 MiB with further items in its list.
void largePage(benchmark::State &state)
{
    const QString base = page(fixtures[4]);
    const qsizetype start = base.indexOf(QStringLiteral("<li>"), base.indexOf(QStringLiteral("class=\"mainbox\"")));
    const qsizetype end = base.indexOf(QStringLiteral("</ul>"), start);
    const QString items = base.mid(start, end - start);
    QString big = base.left(start);
    for (int round = 0; big.size() * 2 < 2 * 1024 * 1024; ++round)
        big += QString(items).replace(QStringLiteral("</a>"), QStringLiteral(" %1</a>").arg(round));
    big += base.mid(end);
    HtmlDocument document;
    for (auto _ : state) {
        ParseEvents events = SourceParsers::parse(SourceId::name(s_HeXun), big, QString(), QString(), document);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * big.size() * 2);
}

const int registered = [] {
    for (const Fixture &fixture : fixtures) {
        const std::string name = SourceId::name(fixture.id).toStdString();
        benchmark::RegisterBenchmark(("parser/" + name).c_str(), parserPass, fixture)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("gumbo_whole_page/" + name).c_str(), gumboWholePage, fixture)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("parser/HeXun_2MiB_page", largePage)->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
