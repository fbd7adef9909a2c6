#include "html/HtmlDocument.h"
#include "news/OOP.h"
#include "news/WorkerRuntime.h"
#include "news/cMultGet.h"
#include "protocol/SourceId.h"
#include "support/TestHttpServer.h"
#include "worker/EventJson.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A source as the registry gives it: the six by their ids.
NewsSource source(int id)
{
    NewsSource source;
    source.id = id;
    source.kind = SourceId::name(id);
    source.compositeInfo = id == s_Dailyfx;
    return source;
}

// An item as the owner of the workers hands it on, in the form of a GetMsg line.
QByteArray itemLine(const NewsItem &item)
{
    const QJsonObject line{{u"event"_s, u"GetMsg"_s},  {u"id"_s, item.source},     {u"key"_s, item.key},
                           {u"time"_s, item.time},     {u"title"_s, item.title},   {u"summary"_s, item.summary},
                           {u"link"_s, item.link}};
    return QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/") + name + QStringLiteral(".html"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture");
    return file.readAll();
}

// The events of one handle as JSON lines, and whether they all came on the UI thread.
struct Recorder
{
    QList<QByteArray> lines;
    bool onUiThread = true;

    void attach(QObject *source)
    {
        auto note = [this](const QByteArray &line) {
            onUiThread = onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            lines << line;
        };
        auto *object = qobject_cast<cMultGet *>(source);
        auto *owner = qobject_cast<OOP *>(source);
        auto msg = [note](int id, const QString &time, const QString &info, const QString &href, const QString &popup) {
            ParseEvent e;
            e.cellTime = time;
            e.cellInfo = info;
            e.href = href;
            e.popup = popup;
            note(EventJson::line(id, e));
        };
        auto complete = [note](int id, bool isNew) {
            ParseEvent e;
            e.kind = ParseEvent::Complete;
            e.isNew = isNew;
            note(EventJson::line(id, e));
        };
        auto error = [note](int id, const QString &message) {
            ParseEvent e;
            e.kind = ParseEvent::Error;
            e.message = message;
            note(EventJson::line(id, e));
        };
        auto timeout = [note](int id) { note(EventJson::timeoutLine(id)); };
        if (object) {
            QObject::connect(object, &cMultGet::GetMsg, object, msg);
            QObject::connect(object, &cMultGet::GetComplete, object, complete);
            QObject::connect(object, &cMultGet::GetError, object, error);
            QObject::connect(object, &cMultGet::GetTimeout, object, timeout);
        } else {
            QObject::connect(owner, &OOP::GetNews, owner, [note](const NewsItem &item) { note(itemLine(item)); });
            QObject::connect(owner, &OOP::GetComplete, owner, complete);
            QObject::connect(owner, &OOP::GetError, owner, error);
            QObject::connect(owner, &OOP::GetTimeout, owner, timeout);
        }
    }
    bool ended() const
    {
        return !lines.isEmpty() && !lines.last().startsWith("{\"event\":\"GetMsg\"");
    }
    int finals() const
    {
        int count = 0;
        for (const QByteArray &line : lines)
            count += line.startsWith("{\"event\":\"GetMsg\"") ? 0 : 1;
        return count;
    }
};

// The events of a pass over the page by the parser of the kind, as the
// worker sends them, or (decoded) as the owner of the workers hands them on.
QList<QByteArray> expectedLines(qint32 id, const QByteArray &page, const QString &known, const QString &url,
                                const QString &kind = {}, bool decoded = false)
{
    const QString parser = kind.isEmpty() ? SourceId::name(id) : kind;
    HtmlDocument doc;
    QList<QByteArray> lines;
    for (const ParseEvent &event : SourceParsers::parse(parser, PageDecoder::decode(parser, page), known, url, doc)) {
        if (decoded && event.kind == ParseEvent::Msg)
            lines << itemLine(NewsItem::fromMessage(id, event.cellTime, event.cellInfo, event.href,
                                                    parser == SourceId::name(s_Dailyfx)));
        else
            lines << EventJson::line(id, event);
    }
    return lines;
}

} // namespace

// The worker objects through the real torvel process and the runtime.
class tst_WorkerRuntime : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;

private Q_SLOTS:
    void initTestCase()
    {
        WorkerRuntime::instance().setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
    }

    void aPassEndsWithItsSpecifiedEvents_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("onlyEvent"); // empty: the events of the parser
        const QByteArray fx168 = fixture(QStringLiteral("fx168_60_items_shortened_links"));
        QTest::newRow("GBK page") << 101 << "/fx168" << fx168 << 200 << QByteArray();
        QTest::newRow("UTF-8 page") << 100 << "/fxark" << fixture(QStringLiteral("fxark_60_items_briefs_hostile")) << 200
                                    << QByteArray();
        QTest::newRow("404 page with the list") << 101 << "/404-list" << fx168 << 404 << QByteArray();
        QTest::newRow("500 page without the list") << 101 << "/500" << QByteArray("<html>Internal error</html>") << 500
                                                   << QByteArray("{\"event\":\"GetError\",\"id\":101,\"msg\":\"发生错误在模块[GETInfo_FX168]第#1行,\\r\\n错误码:5\"}\n");
        QTest::newRow("CaiXun error page") << 105 << "/404-caixun" << QByteArray("<html>Not found</html>") << 404
                                           << QByteArray("{\"event\":\"GetComplete\",\"id\":105,\"new\":false}\n");
        QTest::newRow("empty body") << 102 << "/empty" << QByteArray() << 200
                                    << QByteArray("{\"event\":\"GetError\",\"id\":102,\"msg\":\"Request LinkExecute\"}\n");
        QTest::newRow("body over the cap") << 104 << "/huge" << QByteArray(9 * 1024 * 1024, 'x') << 200
                                           << QByteArray("{\"event\":\"GetError\",\"id\":104,\"msg\":\"Request Timer, Err:#2\"}\n");
        QTest::newRow("nothing listening") << 103 << "closed" << QByteArray() << 0
                                           << QByteArray("{\"event\":\"GetError\",\"id\":103,\"msg\":\"Request LinkExecute\"}\n");
        QTest::newRow("not an address") << 100 << "bad" << QByteArray() << 0
                                        << QByteArray("{\"event\":\"GetError\",\"id\":100,\"msg\":\"Request Initialize, Err:#3\"}\n");
    }
    void aPassEndsWithItsSpecifiedEvents()
    {
        QFETCH(int, id);
        QFETCH(QString, path);
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QByteArray, onlyEvent);
        QString url = m_server.url(path);
        if (path == QStringLiteral("closed"))
            url = QStringLiteral("http://127.0.0.1:1/news");
        else if (path == QStringLiteral("bad"))
            url = QStringLiteral("ftp://127.0.0.1/news");
        else
            m_server.serve(path, body, status);

        cMultGet worker;
        Recorder recorder;
        recorder.attach(&worker);
        const QString known = QStringLiteral("美元");
        worker.GetWebContent(known, id, url);
        QCOMPARE(m_server.hits(path), 0); // the call returns before anything is fetched
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended(), 15000);
        QTest::qWait(300);
        const QList<QByteArray> expected = onlyEvent.isEmpty() ? expectedLines(id, body, known, url) : QList<QByteArray>{onlyEvent};
        QCOMPARE(recorder.lines, expected);
        QVERIFY(recorder.onUiThread);
    }

    void aServerThatNeverAnswersTimesOutOnce()
    {
        m_server.stall(QStringLiteral("/stall"));
        cMultGet worker;
        Recorder recorder;
        recorder.attach(&worker);
        QElapsedTimer clock;
        clock.start();
        worker.GetWebContent(QString(), 104, m_server.url(QStringLiteral("/stall")));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended(), 15000);
        // 101 polls of 100 ms after the 10 ms start.
        QVERIFY2(clock.elapsed() >= 10000, qPrintable(QString::number(clock.elapsed())));
        QTest::qWait(500);
        QCOMPARE(recorder.lines, QList<QByteArray>{EventJson::timeoutLine(104)});
    }

    void twoQuickCallsMakeOneRequest()
    {
        m_server.serve(QStringLiteral("/first"), fixture(QStringLiteral("hexun_60_items")));
        m_server.serve(QStringLiteral("/second"), "<html>no list</html>");
        cMultGet worker;
        Recorder recorder;
        recorder.attach(&worker);
        QTRY_VERIFY(WorkerRuntime::instance().serverProcessId() != 0);
        QTest::qWait(200); // bound to its server object
        worker.GetWebContent(QString(), 104, m_server.url(QStringLiteral("/first")));
        worker.GetWebContent(QString(), 105, m_server.url(QStringLiteral("/second")));
        QTRY_VERIFY(recorder.ended());
        QTest::qWait(300);
        QCOMPARE(m_server.hits(QStringLiteral("/first")), 0);
        QCOMPARE(m_server.hits(QStringLiteral("/second")), 1);
        QCOMPARE(recorder.lines, QList<QByteArray>{"{\"event\":\"GetComplete\",\"id\":105,\"new\":false}\n"});
    }

    void anIdWithoutParserFetchesAndSaysNothing()
    {
        m_server.serve(QStringLiteral("/other"), "<html>page</html>");
        cMultGet worker;
        Recorder recorder;
        recorder.attach(&worker);
        worker.GetWebContent(QString(), 99, m_server.url(QStringLiteral("/other")));
        QTRY_COMPARE(m_server.hits(QStringLiteral("/other")), 1);
        QTest::qWait(500);
        QVERIFY(recorder.lines.isEmpty());
        // Nothing was awaited of it, so a restart of the worker reports nothing either.
        const qint64 server = WorkerRuntime::instance().serverProcessId();
        QVERIFY(server > 0); // kill(0) would hit the whole test run
        ::kill(pid_t(server), SIGKILL);
        QTRY_VERIFY(WorkerRuntime::instance().serverProcessId() != 0 && WorkerRuntime::instance().serverProcessId() != server);
        QTest::qWait(300);
        QVERIFY(recorder.lines.isEmpty());
    }

    void sixSourcesFetchInParallelEachInOrder()
    {
        const QList<std::pair<int, QString>> pages{
            {100, QStringLiteral("fxark_60_items_briefs_hostile")}, {101, QStringLiteral("fx168_60_items_shortened_links")},
            {102, QStringLiteral("fx678_60_items_relative_links")}, {103, QStringLiteral("dailyfx_60_items_summaries")},
            {104, QStringLiteral("hexun_60_items")},                {105, QStringLiteral("caixun_60_items_briefs")}};
        OOP owner;
        QMap<int, QList<QByteArray>> byId;
        Recorder all;
        all.attach(&owner);
        for (const auto &[id, name] : pages) {
            // No page is answered before all six have been asked for.
            m_server.serveTogether(QStringLiteral("/parallel/") + name, fixture(name), QStringLiteral("six"), 6);
            owner.fetch(source(id), QString(), m_server.url(QStringLiteral("/parallel/") + name));
        }
        // A seventh source: another address read by one of the six kinds of page.
        NewsSource copy = source(1000);
        copy.kind = SourceId::name(s_Dailyfx);
        copy.compositeInfo = true;
        m_server.serve(QStringLiteral("/copy"), fixture(QStringLiteral("dailyfx_60_items_summaries")));
        owner.fetch(copy, QString(), m_server.url(QStringLiteral("/copy")));
        QTRY_COMPARE_WITH_TIMEOUT(all.finals(), 7, 30000);
        QVERIFY2(m_server.gateOpened(QStringLiteral("six")), "the six requests were not under way at once");
        for (const QByteArray &line : all.lines)
            byId[QJsonDocument::fromJson(line).object().value(QStringLiteral("id")).toInt()] << line;
        for (const auto &[id, name] : pages) {
            QCOMPARE(byId.value(id), expectedLines(id, fixture(name), QString(), m_server.url(QStringLiteral("/parallel/") + name),
                                                   QString(), true));
        }
        QCOMPARE(byId.value(1000), expectedLines(1000, fixture(QStringLiteral("dailyfx_60_items_summaries")), QString(),
                                                 m_server.url(QStringLiteral("/copy")), copy.kind, true));
        QVERIFY(byId.value(1000).size() > 10);
        QVERIFY(all.onUiThread);
    }

    void aKilledServerCostsOnePassAndComesBack()
    {
        m_server.stall(QStringLiteral("/hang"));
        m_server.serve(QStringLiteral("/after"), fixture(QStringLiteral("hexun_60_items")));
        cMultGet worker;
        Recorder recorder;
        recorder.attach(&worker);
        worker.GetWebContent(QString(), 104, m_server.url(QStringLiteral("/hang")));
        QTRY_COMPARE(m_server.hits(QStringLiteral("/hang")), 1);
        const qint64 first = WorkerRuntime::instance().serverProcessId();
        QVERIFY(first > 0);
        ::kill(pid_t(first), SIGKILL);
        QTRY_COMPARE(recorder.lines.size(), 1);
        QCOMPARE(recorder.lines.front(),
                 "{\"event\":\"GetError\",\"id\":104,\"msg\":\"" + cMultGet::serverLostMessage().toUtf8() + "\"}\n");
        QTRY_VERIFY(WorkerRuntime::instance().serverProcessId() != 0);
        QVERIFY(WorkerRuntime::instance().serverProcessId() != first);

        recorder.lines.clear();
        worker.GetWebContent(QString(), 104, m_server.url(QStringLiteral("/after")));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.ended(), 15000);
        QCOMPARE(recorder.lines, expectedLines(104, fixture(QStringLiteral("hexun_60_items")), QString(),
                                               m_server.url(QStringLiteral("/after"))));
    }

    void theServerIsPrivateAndFollowsItsClient()
    {
        cMultGet worker;
        QTRY_VERIFY(WorkerRuntime::instance().serverProcessId() != 0);
        const QFileInfo socket(WorkerRuntime::instance().socketPath());
        QTRY_VERIFY(socket.exists());
        QCOMPARE(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());

        // A second client is turned away.
        QTest::qWait(200);
        QLocalSocket intruder;
        intruder.connectToServer(socket.filePath());
        QTRY_COMPARE(intruder.state(), QLocalSocket::UnconnectedState);

        // A server whose parent goes away (its standard input ends) ends too.
        TestHttpServer unused;
        QProcess orphan;
        const QString path = QDir::tempPath() + QStringLiteral("/tessaly-test-") + QString::number(unused.port());
        orphan.start(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"), {QStringLiteral("--server"), path});
        QVERIFY(orphan.waitForReadyRead(10000));
        QCOMPARE(orphan.readAllStandardOutput(), QByteArray("ready\n"));
        orphan.closeWriteChannel();
        QVERIFY(orphan.waitForFinished(10000));
        QCOMPARE(orphan.exitStatus(), QProcess::NormalExit);
    }

    // A server that never gets ready counts as crashed: the pass waiting for
    // it ends with an error, and the server is started again.
    void aServerThatNeverGetsReadyIsStartedAgain_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("never says ready") << QByteArray("#!/bin/sh\nexec sleep 60\n");
        QTest::newRow("says ready twice, never listens") << QByteArray("#!/bin/sh\necho ready\necho ready\nexec sleep 60\n");
    }
    void aServerThatNeverGetsReadyIsStartedAgain()
    {
        QFETCH(QByteArray, script);
        QTemporaryDir folder;
        QFile program(folder.filePath(QStringLiteral("torvel")));
        QVERIFY(program.open(QIODevice::WriteOnly) && program.write(script) == script.size());
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WorkerRuntime &runtime = WorkerRuntime::instance();
        runtime.setServerProgram(program.fileName());
        runtime.setStartTimeout(700);
        {
            cMultGet worker;
            Recorder recorder;
            recorder.attach(&worker);
            // The running real server goes: the next one is the script.
            const qint64 real = runtime.serverProcessId();
            QVERIFY(real > 0);
            ::kill(pid_t(real), SIGKILL);
            // Restarts after quick failures wait longer and longer: generous waits.
            QTRY_VERIFY_WITH_TIMEOUT(runtime.serverProcessId() != 0 && runtime.serverProcessId() != real, 20000);
            recorder.lines.clear();
            worker.GetWebContent(QString(), 104, m_server.url(QStringLiteral("/never")));
            const qint64 stuck = runtime.serverProcessId();
            QTRY_COMPARE_WITH_TIMEOUT(recorder.lines.size(), 1, 20000);
            QCOMPARE(recorder.lines.front(),
                     "{\"event\":\"GetError\",\"id\":104,\"msg\":\"" + cMultGet::serverLostMessage().toUtf8() + "\"}\n");
            QTRY_VERIFY_WITH_TIMEOUT(runtime.serverProcessId() != 0 && runtime.serverProcessId() != stuck, 20000);
            QCOMPARE(m_server.hits(QStringLiteral("/never")), 0);
        }
        runtime.setServerProgram(QStringLiteral(TESSALY_PROGRAM_DIR "/torvel"));
        runtime.setStartTimeout(WorkerRuntime::DefaultStartTimeoutMs);
        if (const qint64 script = runtime.serverProcessId(); script > 0)
            ::kill(pid_t(script), SIGKILL);
        cMultGet worker;
        QSignalSpy ready(&runtime, &WorkerRuntime::serverReady);
        QTRY_VERIFY_WITH_TIMEOUT(ready.size() > 0, 40000);
    }
};

QTEST_GUILESS_MAIN(tst_WorkerRuntime)
#include "tst_WorkerRuntime.moc"
