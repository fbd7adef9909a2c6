#include "support/ProgramRun.h"
#include "support/TempProgramFolder.h"
#include "support/TestHttpServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString fixtures = QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/");

ProgramRun torvel(const QStringList &arguments)
{
    return ProgramRun::of(QStringLiteral("torvel"), arguments);
}

QByteArray readFixture(const QString &name)
{
    QFile file(fixtures + name + QStringLiteral(".html"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// `torvel --fetch`: one whole pass of a worker against a real server.
class tst_torvel_fetch : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;
    TempProgramFolder m_folder;

private Q_SLOTS:
    void givesTheEventsOfParsingTheSamePage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::newRow("FXark") << "fxark_60_items_briefs_hostile" << "100";
        QTest::newRow("FX168") << "fx168_60_items_shortened_links" << "101";
        QTest::newRow("FX678") << "fx678_60_items_relative_links" << "102";
        QTest::newRow("DailyFX") << "dailyfx_60_items_summaries" << "103";
        QTest::newRow("HeXun") << "hexun_60_items" << "104";
        QTest::newRow("CaiXun") << "caixun_60_items_briefs" << "105";
        QTest::newRow("error page") << "fx168_without_list" << "101";
    }
    void givesTheEventsOfParsingTheSamePage()
    {
        QFETCH(QString, name);
        QFETCH(QString, id);
        const QString path = QStringLiteral("/") + name;
        m_server.serve(path, readFixture(name));
        const QString known = m_folder.writeFile(QStringLiteral("known.txt"), QByteArray("美元"));
        const ProgramRun fetched = torvel({QStringLiteral("--fetch"), id, m_server.url(path), QStringLiteral("--known"), known});
        const ProgramRun parsed = torvel({QStringLiteral("--parse"), id, fixtures + name + QStringLiteral(".html"), QStringLiteral("--known"),
                                   known, QStringLiteral("--url"), m_server.url(path)});
        QCOMPARE(fetched.exitCode, 0);
        QCOMPARE(fetched.errors, QString());
        QVERIFY(!fetched.out.isEmpty());
        QCOMPARE(fetched.out, parsed.out);
    }

    // Another address read by a kind of page, as the settings dialog's test
    // asks for it: how many items its parser finds, and the newest.
    void aKindOfPageIsProbed()
    {
        const QString name = QStringLiteral("fx168_60_items_shortened_links");
        m_server.serve(QStringLiteral("/copy"), readFixture(name));
        const ProgramRun probed = torvel({QStringLiteral("--fetch"), QStringLiteral("fx168"), m_server.url(QStringLiteral("/copy")),
                                          QStringLiteral("--probe")});
        const ProgramRun parsed = torvel({QStringLiteral("--parse"), QStringLiteral("FX168"), fixtures + name + QStringLiteral(".html"),
                                          QStringLiteral("--url"), m_server.url(QStringLiteral("/copy"))});
        QCOMPARE(probed.exitCode, 0);
        QList<QJsonObject> items;
        for (const QByteArray &line : parsed.out.split('\n')) {
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            if (event.value(QStringLiteral("event")).toString() == QStringLiteral("GetMsg"))
                items << event;
        }
        QVERIFY(items.size() > 10);
        const QJsonObject probe = QJsonDocument::fromJson(probed.out.trimmed()).object();
        QCOMPARE(probe.value(QStringLiteral("event")).toString(), QStringLiteral("Probe"));
        QCOMPARE(probe.value(QStringLiteral("items")).toInt(), items.size());
        QCOMPARE(probe.value(QStringLiteral("newest")).toString(), items.last().value(QStringLiteral("info")).toString());
    }

    void finalEventsOfFailedPasses_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("never answers") << "stall" << QByteArray("{\"event\":\"GetTimeout\",\"id\":104}\n");
        QTest::newRow("empty body") << "empty" << QByteArray("{\"event\":\"GetError\",\"id\":104,\"msg\":\"Request LinkExecute\"}\n");
        QTest::newRow("no parser for the id") << "other id" << QByteArray();
    }
    void finalEventsOfFailedPasses()
    {
        QFETCH(QString, setup);
        QFETCH(QByteArray, out);
        const QString path = QStringLiteral("/") + QString(setup).replace(u' ', u'-');
        QString id = QStringLiteral("104");
        if (setup == QStringLiteral("stall")) {
            m_server.stall(path);
        } else {
            m_server.serve(path, setup == QStringLiteral("empty") ? QByteArray() : readFixture(QStringLiteral("hexun_60_items")));
            if (setup == QStringLiteral("other id"))
                id = QStringLiteral("7");
        }
        const ProgramRun run = torvel({QStringLiteral("--fetch"), id, m_server.url(path)});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, out);
        QCOMPARE(m_server.hits(path), 1);
    }

    void refusesBadArguments()
    {
        for (const QStringList &arguments : {QStringList{QStringLiteral("--fetch")},
                                             QStringList{QStringLiteral("--fetch"), QStringLiteral("reuters"), QStringLiteral("http://a/")},
                                             QStringList{QStringLiteral("--fetch"), QStringLiteral("101"), QStringLiteral("http://a/"),
                                                         QStringLiteral("--known")}}) {
            const ProgramRun run = torvel(arguments);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.errors.contains(QStringLiteral("usage: torvel --fetch")));
        }
    }
};

QTEST_GUILESS_MAIN(tst_torvel_fetch)
#include "tst_torvel_fetch.moc"
