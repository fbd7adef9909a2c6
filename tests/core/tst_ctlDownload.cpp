#include "core/ctlDownload.h"
#include "support/TestHttpServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every event of a control, in the order it was raised.
struct EventLog
{
    QStringList events;
    QList<QByteArray> data;

    explicit EventLog(ctlDownload &control)
    {
        QObject::connect(&control, &ctlDownload::DownloadProgress, &control, [this](qint32 read, qint32 max) {
            events << QStringLiteral("progress %1/%2").arg(read).arg(max);
        });
        QObject::connect(&control, &ctlDownload::DownloadStatus, &control, [this](qint32 state, const QString &, const QString &id) {
            events << QStringLiteral("status %1 %2").arg(state).arg(id);
        });
        QObject::connect(&control, &ctlDownload::DownloadComplete, &control,
                         [this](const QByteArray &bytes, bool ok, const QString &id) {
                             events << QStringLiteral("complete %1 %2").arg(ok ? QStringLiteral("ok") : QStringLiteral("failed"), id);
                             data << bytes;
                         });
    }

    int completions() const { return int(data.size()); }
    QStringList of(const QString &prefix) const { return events.filter(prefix); }
};

QByteArray bodyOf(int size)
{
    QByteArray body(size, 'x');
    for (int i = 0; i < size; ++i)
        body[i] = char('a' + i % 26);
    return body;
}

} // namespace

class tst_ctlDownload : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;

private Q_SLOTS:
    void successfulReadEndsWithFullProgressThenComplete_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("small") << 100;
        QTest::newRow("large") << 3 * 1024 * 1024;
        QTest::newRow("empty") << 0;
    }
    void successfulReadEndsWithFullProgressThenComplete()
    {
        QFETCH(int, size);
        const QByteArray body = bodyOf(size);
        m_server.serve(QStringLiteral("/file"), body, 200, "application/octet-stream");
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/file")), QStringLiteral("iUpdate"));
        QTRY_COMPARE(log.completions(), 1);

        QCOMPARE(log.data.front(), body);
        QCOMPARE(log.events.last(), QStringLiteral("complete ok iUpdate"));
        const QStringList progress = log.of(QStringLiteral("progress"));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), QStringLiteral("progress %1/%1").arg(size));
        QCOMPARE(log.events.lastIndexOf(progress.last()), log.events.size() - 2);
        QCOMPARE(control.URL(), m_server.url(QStringLiteral("/file")));
        QCOMPARE(control.MaxBytes(), size);
        QCOMPARE(m_server.lastHeader(QStringLiteral("/file"), "Cache-Control"), QByteArray("no-cache"));
        // Asked uncompressed, so the length checked is the length sent.
        QCOMPARE(m_server.lastHeader(QStringLiteral("/file"), "Accept-Encoding"), QByteArray("identity"));
    }

    void theFirstStatusComesFromTheEventLoop()
    {
        m_server.serve(QStringLiteral("/first"), "x");
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/first")), QStringLiteral("a"));
        QVERIFY(log.events.isEmpty()); // nothing inside the call
        QTRY_COMPARE(log.completions(), 1);
        QCOMPARE(log.events.front(), QStringLiteral("status %1 a").arg(ctlDownload::SendingRequest));
    }

    void readsRunSideBySideUnderTheirOwnIds()
    {
        m_server.serveDelayed(QStringLiteral("/slow"), "slow body", std::chrono::milliseconds(300));
        m_server.serve(QStringLiteral("/fast"), "fast body");
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/slow")), QStringLiteral("Calendar1"));
        control.BeginDownload(m_server.url(QStringLiteral("/fast")), QStringLiteral("Calendar2"));
        QTRY_COMPARE(log.completions(), 2);
        const QStringList completes = log.of(QStringLiteral("complete"));
        QCOMPARE(completes, (QStringList{u"complete ok Calendar2"_s, u"complete ok Calendar1"_s}));
        QCOMPARE(log.data, (QList<QByteArray>{"fast body", "slow body"}));
    }

    void emptyAddressReadsThePreviousOneAgain()
    {
        m_server.serve(QStringLiteral("/again"), "same");
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/again")), QStringLiteral("a"));
        QTRY_COMPARE(log.completions(), 1);
        control.BeginDownload(QString(), QStringLiteral("b"));
        QTRY_COMPARE(log.completions(), 2);
        QCOMPARE(m_server.hits(QStringLiteral("/again")), 2);
        QCOMPARE(log.of(QStringLiteral("complete")).last(), QStringLiteral("complete ok b"));
    }

    void failuresEndWithStatusThenEmptyComplete_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("not found") << "404";
        QTest::newRow("server error") << "500";
        QTest::newRow("connection dropped") << "drop";
        QTest::newRow("nothing listening") << "closed port";
        QTest::newRow("not an address") << "garbage";
        QTest::newRow("other scheme") << "ftp";
        QTest::newRow("empty first address") << "empty";
        QTest::newRow("a server that never answers") << "stall";
        QTest::newRow("larger than the limit") << "large";
        QTest::newRow("a byte now and then, past the deadline") << "trickle";
    }
    void failuresEndWithStatusThenEmptyComplete()
    {
        QFETCH(QString, setup);
        QString address;
        if (setup == QStringLiteral("404")) {
            address = m_server.url(QStringLiteral("/missing"));
        } else if (setup == QStringLiteral("500")) {
            m_server.serve(QStringLiteral("/broken"), "oops", 500);
            address = m_server.url(QStringLiteral("/broken"));
        } else if (setup == QStringLiteral("drop")) {
            m_server.closeEarly(QStringLiteral("/drop"), "partial", 100000);
            address = m_server.url(QStringLiteral("/drop"));
        } else if (setup == QStringLiteral("closed port")) {
            address = QStringLiteral("http://127.0.0.1:1/x");
        } else if (setup == QStringLiteral("garbage")) {
            address = QStringLiteral("http://exa mple/ x");
        } else if (setup == QStringLiteral("ftp")) {
            address = QStringLiteral("ftp://127.0.0.1/file");
        } else if (setup == QStringLiteral("stall")) {
            m_server.stall(QStringLiteral("/stall"));
            address = m_server.url(QStringLiteral("/stall"));
        } else if (setup == QStringLiteral("trickle")) {
            m_server.trickle(QStringLiteral("/trickle"), std::chrono::milliseconds(100));
            address = m_server.url(QStringLiteral("/trickle"));
        } else if (setup == QStringLiteral("large")) {
            m_server.serve(QStringLiteral("/large"), bodyOf(70000));
            address = m_server.url(QStringLiteral("/large"));
        }
        ctlDownload control;
        control.setIdleTimeout(400);
        control.setDeadline(1500);
        control.setSizeLimit(65536);
        EventLog log(control);
        control.BeginDownload(address, QStringLiteral("id"));
        QTRY_COMPARE(log.completions(), 1);
        QCOMPARE(log.events.last(), QStringLiteral("complete failed id"));
        QCOMPARE(log.events.at(log.events.size() - 2), QStringLiteral("status -1 id"));
        QVERIFY(log.data.front().isEmpty());
        QTest::qWait(50);
        QCOMPARE(log.completions(), 1);
    }

    void redirectsAreFollowed()
    {
        m_server.serve(QStringLiteral("/target"), "moved here");
        m_server.redirect(QStringLiteral("/old"), m_server.url(QStringLiteral("/target")));
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/old")), QStringLiteral("r"));
        QTRY_COMPARE(log.completions(), 1);
        QCOMPARE(log.data.front(), QByteArray("moved here"));
        QVERIFY(!log.of(QStringLiteral("status 3 r")).isEmpty());
    }

    void cancelledReadRaisesNothingMore()
    {
        m_server.stall(QStringLiteral("/stall"));
        m_server.serve(QStringLiteral("/other"), "other");
        ctlDownload control;
        EventLog log(control);
        control.BeginDownload(m_server.url(QStringLiteral("/stall")), QStringLiteral("gone"));
        control.BeginDownload(m_server.url(QStringLiteral("/other")), QStringLiteral("kept"));
        control.CancelDownload(QStringLiteral("gone"));
        control.CancelDownload(QStringLiteral("never started"));
        QTRY_COMPARE(log.completions(), 1);
        QTest::qWait(100);
        QCOMPARE(log.of(QStringLiteral("complete")), QStringList{u"complete ok kept"_s});
    }
};

QTEST_GUILESS_MAIN(tst_ctlDownload)
#include "tst_ctlDownload.moc"

