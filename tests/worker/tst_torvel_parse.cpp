#include "html/HtmlDocument.h"
#include "protocol/SourceId.h"
#include "support/ProgramRun.h"
#include "support/TempProgramFolder.h"
#include "worker/EventJson.h"
#include "worker/PageDecoder.h"
#include "worker/SourceParsers.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString fixtures = QStringLiteral(TESSALY_SOURCE_DIR "/tests/worker/fixtures/");

ProgramRun torvel(const QStringList &arguments)
{
    return ProgramRun::of(QStringLiteral("torvel"), arguments);
}

} // namespace

// The command a user runs on a saved page: `torvel --parse`.
class tst_torvel_parse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsThePassAsJsonLines_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("source");
        for (const QString &file : QDir(fixtures).entryList({QStringLiteral("*.html")})) {
            QFile expect(fixtures + file.chopped(5) + QStringLiteral(".expect.json"));
            QVERIFY(expect.open(QIODevice::ReadOnly));
            const QString source = QJsonDocument::fromJson(expect.readAll()).object().value(QStringLiteral("source")).toString();
            QTest::newRow(qPrintable(file.chopped(5))) << file.chopped(5) << source;
        }
    }
    void printsThePassAsJsonLines()
    {
        QFETCH(QString, name);
        QFETCH(QString, source);
        TempProgramFolder folder;
        const QString url = QStringLiteral("http://127.0.0.1/news/");
        const QString known = QStringLiteral("美元");
        const QString knownFile = folder.writeFile(QStringLiteral("known.txt"), known.toUtf8());
        const QString page = fixtures + name + QStringLiteral(".html");
        const qint32 id = SourceId::fromText(source);
        // By name in any case, or by number.
        const QString sourceArgument = name.size() % 2 ? source.toUpper() : QString::number(id);
        const ProgramRun run = torvel({QStringLiteral("--parse"), sourceArgument, page, QStringLiteral("--known"), knownFile,
                                QStringLiteral("--url"), url});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errors, QString());

        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        HtmlDocument doc;
        QByteArray expected;
        for (const ParseEvent &event : SourceParsers::parse(SourceId::name(id), PageDecoder::decode(SourceId::name(id), file.readAll()), known, url, doc))
            expected += EventJson::line(id, event);
        QCOMPARE(run.out, expected);

        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.last(), QByteArray());
        for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
            QJsonParseError error;
            const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            QCOMPARE(object.value(QStringLiteral("id")).toInt(), id);
            QVERIFY(line.startsWith("{\"event\":\"Get"));
        }
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString page = fixtures + QStringLiteral("hexun_60_items.html");
        QTest::newRow("nothing") << QStringList{QStringLiteral("--parse")} << QStringLiteral("expected a source and a file");
        QTest::newRow("unknown source") << QStringList{QStringLiteral("--parse"), QStringLiteral("Reuters"), page}
                                        << QStringLiteral("unknown source Reuters");
        QTest::newRow("id out of range") << QStringList{QStringLiteral("--parse"), QStringLiteral("106"), page}
                                         << QStringLiteral("unknown source 106");
        QTest::newRow("missing file") << QStringList{QStringLiteral("--parse"), QStringLiteral("HeXun"), QStringLiteral("/no/such.html")}
                                      << QStringLiteral("/no/such.html");
        QTest::newRow("missing known file")
            << QStringList{QStringLiteral("--parse"), QStringLiteral("HeXun"), page, QStringLiteral("--known"), QStringLiteral("/no/known")}
            << QStringLiteral("/no/known");
        QTest::newRow("option without value") << QStringList{QStringLiteral("--parse"), QStringLiteral("HeXun"), page, QStringLiteral("--url")}
                                              << QStringLiteral("--url needs a value");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--parse"), QStringLiteral("HeXun"), page, QStringLiteral("--fast")}
                                        << QStringLiteral("unknown option --fast");
        QTest::newRow("no command") << QStringList{} << QStringLiteral("usage");
    }
    void refusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const ProgramRun run = torvel(arguments);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
    }
};

QTEST_GUILESS_MAIN(tst_torvel_parse)
#include "tst_torvel_parse.moc"
