// The worker server under load, through the real torvel and the runtime:
// six sources fetching their 60-item pages from a loopback server at once,
// against one worker fetching the six in turn; and torvel's resident memory
// with six idle objects and after 1,000 and 2,000 passes.
#include "news/OOP.h"
#include "news/WorkerRuntime.h"
#include "protocol/SourceId.h"
#include "support/TestHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <cstdio>

namespace {

NewsSource sourceOf(int id)
{
    NewsSource source;
    source.id = id;
    source.kind = SourceId::name(id);
    return source;
}

const std::pair<int, const char *> pages[] = {
    {100, "fxark_60_items_briefs_hostile"}, {101, "fx168_60_items_shortened_links"},
    {102, "fx678_60_items_relative_links"}, {103, "dailyfx_60_items_summaries"},
    {104, "hexun_60_items"},                {105, "caixun_60_items_briefs"},
};

QString path(const char *name)
{
    return QStringLiteral("/") + QString::fromLatin1(name);
}

qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

struct Round
{
    int finals = 0;
    std::chrono::steady_clock::time_point lastEvent;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    WorkerRuntime::instance().setServerProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/../program/torvel"));
    TestHttpServer server;
    for (const auto &[id, name] : pages) {
        QFile file(QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/") + QString::fromLatin1(name) + QStringLiteral(".html"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("missing fixture %s", name);
        server.serve(path(name), file.readAll());
    }

    OOP owner;
    cMultGet single;
    Round round;
    auto ended = [&round](int) {
        ++round.finals;
        round.lastEvent = std::chrono::steady_clock::now();
    };
    QObject::connect(&owner, &OOP::GetComplete, &owner, ended);
    QObject::connect(&owner, &OOP::GetError, &owner, ended);
    QObject::connect(&owner, &OOP::GetTimeout, &owner, ended);
    QObject::connect(&single, &cMultGet::GetComplete, &single, ended);
    QObject::connect(&single, &cMultGet::GetError, &single, ended);
    QTest::qWait(1500); // server started, objects created
    const qint64 pid = WorkerRuntime::instance().serverProcessId();
    const qint64 idle = residentKiB(pid);

    auto parallelRound = [&] {
        round = Round();
        for (const auto &[id, name] : pages)
            owner.fetch(sourceOf(id), QString(), server.url(path(name)));
        while (round.finals < 6)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 167;
    QElapsedTimer clock;
    double responseToLast = 0;
    clock.start();
    for (int i = 0; i < rounds; ++i) {
        parallelRound();
        std::chrono::steady_clock::time_point lastAnswer;
        for (const auto &[id, name] : pages)
            lastAnswer = std::max(lastAnswer, server.lastAnswered(path(name)));
        responseToLast += std::chrono::duration<double, std::milli>(round.lastEvent - lastAnswer).count();
    }
    const double parallelSeconds = clock.elapsed() / 1000.0;
    const qint64 after1000 = residentKiB(pid);

    clock.restart();
    const int sequentialRounds = std::max(1, rounds / 4);
    for (int i = 0; i < sequentialRounds; ++i) {
        for (const auto &[id, name] : pages) {
            round = Round();
            single.GetWebContent(QString(), id, server.url(path(name)));
            while (round.finals < 1)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    const double sequentialSeconds = clock.elapsed() / 1000.0;

    for (int i = 0; i < rounds; ++i)
        parallelRound();
    const qint64 after2000 = residentKiB(pid);

    std::printf("six sources in parallel:  %.1f passes/s (%d passes), response to last event %.1f ms on average\n",
                rounds * 6 / parallelSeconds, rounds * 6, responseToLast / rounds);
    std::printf("one worker, six in turn:  %.1f passes/s (%d passes)\n", sequentialRounds * 6 / sequentialSeconds,
                sequentialRounds * 6);
    std::printf("torvel resident memory:   %lld KiB idle with six objects, %lld KiB after %d passes, %lld KiB after %d\n",
                idle, after1000, rounds * 6, after2000, rounds * 12);
    return 0;
}
