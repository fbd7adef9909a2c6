#include "TestSignature.h"
#include "core/cls_Config.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"
#include "support/TestHttpServer.h"
#include "update/LiveUpdate.h"
#include "update/ProgramVersion.h"
#include "update/UpdatePayload.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

const QByteArray Program = QByteArray("\x7f" "ELF") + QByteArray(40000, 'p');

QByteArray descriptor(const QString &version, const QString &download, const QString &sha = {},
                      const QString &signature = TestSignature::sign(Program))
{
    return QStringLiteral("<update><URL>https://example.cn/</URL><Version>%1</Version><Download>%2</Download>"
                          "<SHA256>%3</SHA256><Signature>%4</Signature></update>")
        .arg(version, download, sha, signature)
        .toUtf8();
}

} // namespace

class tst_LiveUpdate : public QObject
{
    Q_OBJECT

private:
    TestHttpServer m_server;
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    cls_Config m_config;

    std::unique_ptr<LiveUpdate> update()
    {
        return std::make_unique<LiveUpdate>(ProductSite(m_config), m_folder.path() + u'/', ProgramVersion::text());
    }
    QString newer() const { return QStringLiteral("99.0.0000"); }

private Q_SLOTS:
    void initTestCase()
    {
        m_config.setMessageSink(&m_sink);
        m_config.setXmlFile(m_folder.writeFile(QStringLiteral("tavrin.xml"),
                                               QStringLiteral("<App><Settings><Site Url='%1'/></Settings></App>")
                                                   .arg(m_server.url(QStringLiteral("/site")))
                                                   .toUtf8()));
        QVERIFY(m_config.Initialize());
    }

    void theDescriptorTellsWhetherANewerVersionExists_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("same version") << descriptor(ProgramVersion::text(), {}) << "up to date";
        QTest::newRow("newer") << descriptor(QStringLiteral("99.0.0000"), {}) << "newer";
        QTest::newRow("no version") << descriptor({}, {}) << "up to date";
        QTest::newRow("not XML") << QByteArray("<update><Version>") << "failed";
        QTest::newRow("too large") << QByteArray("<update>") + QByteArray(LiveUpdate::DescriptorLimit, ' ') + "</update>"
                                   << "failed";
    }
    void theDescriptorTellsWhetherANewerVersionExists()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, outcome);
        m_server.serve(QStringLiteral("/site/update.xml"), body, 200, "text/xml");
        auto live = update();
        QSignalSpy checked(live.get(), &LiveUpdate::checked);
        QSignalSpy failed(live.get(), &LiveUpdate::checkFailed);
        live->check();
        QTRY_COMPARE(checked.size() + failed.size(), 1);
        if (outcome == QStringLiteral("failed"))
            QCOMPARE(failed.size(), 1);
        else
            QCOMPARE(checked.front().front().toBool(), outcome == QStringLiteral("newer"));
    }

    void percentIsTheWholePartAndNeverAbove100_data()
    {
        QTest::addColumn<qint64>("read");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("percent");
        QTest::newRow("999 of 1000") << qint64(999) << qint64(1000) << 99;
        QTest::newRow("all") << qint64(1000) << qint64(1000) << 100;
        QTest::newRow("no total") << qint64(500) << qint64(0) << 0;
        QTest::newRow("more than announced") << qint64(2000) << qint64(1000) << 100;
        QTest::newRow("large file") << qint64(3000000000) << qint64(4000000000) << 75;
    }
    void percentIsTheWholePartAndNeverAbove100()
    {
        QFETCH(qint64, read);
        QFETCH(qint64, total);
        QFETCH(int, percent);
        QCOMPARE(LiveUpdate::percent(read, total), percent);
    }

    // A descriptor from a site over plain http (this machine aside) could have
    // been changed on the way: nothing is downloaded on its word.
    void aDescriptorOverPlainHttpLeadsToNoDownload()
    {
        cls_Config config(&m_sink);
        config.setXmlFile(m_folder.writeFile(QStringLiteral("remote.xml"),
                                             "<App><Settings><Site Url='http://updates.example.invalid/site'/></Settings></App>"));
        QVERIFY(config.Initialize());
        LiveUpdate live(ProductSite(config), m_folder.path() + u'/', ProgramVersion::text());
        QSignalSpy failed(&live, &LiveUpdate::downloadFailed);
        live.download();
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed.front().front().toString(), QStringLiteral("descriptor not read over https"));
        QVERIFY(!QFile::exists(live.targetPath()));
        QFile::remove(m_folder.filePath(QStringLiteral("remote.xml")));
    }

    // A version tried before is not newer to the silent check: an update that
    // did not take is not tried at every start; the user's own check offers it.
    void aVersionTriedBeforeIsNotTriedAgainUnasked_data()
    {
        QTest::addColumn<QString>("skipped");
        QTest::addColumn<bool>("newer");
        QTest::newRow("nothing tried") << QString() << true;
        QTest::newRow("this version tried") << newer() << false;
        QTest::newRow("an older one tried") << QStringLiteral("98.0.0000") << true;
    }
    void aVersionTriedBeforeIsNotTriedAgainUnasked()
    {
        QFETCH(QString, skipped);
        QFETCH(bool, newer);
        m_server.serve(QStringLiteral("/site/download/tried"), Program, 200, "application/octet-stream");
        m_server.serve(QStringLiteral("/site/update.xml"),
                       descriptor(this->newer(), m_server.url(QStringLiteral("/site/download/tried"))), 200, "text/xml");
        auto live = update();
        live->setSkippedVersion(skipped);
        QSignalSpy checked(live.get(), &LiveUpdate::checked);
        live->check();
        QTRY_COMPARE(checked.size(), 1);
        QCOMPARE(checked.front().front().toBool(), newer);
        if (!newer)
            return;
        QSignalSpy trying(live.get(), &LiveUpdate::trying);
        QSignalSpy done(live.get(), &LiveUpdate::downloaded);
        live->download();
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(trying.size(), 1);
        QCOMPARE(trying.front().front().toString(), this->newer());
        QVERIFY(QFile::remove(live->targetPath()));
    }

    void onlyAWholeCheckedDownloadIsWritten_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("written");
        QTest::newRow("whole") << "whole" << true;
        QTest::newRow("whole, no hash given") << "nohash" << true;
        QTest::newRow("short, connection closed") << "short" << false;
        QTest::newRow("stalled") << "stall" << false;
        QTest::newRow("not found") << "404" << false;
        QTest::newRow("a web page") << "html" << false;
        QTest::newRow("another hash") << "wronghash" << false;
        QTest::newRow("not signed") << "nosignature" << false;
        QTest::newRow("signed by another key") << "otherkey" << false;
        QTest::newRow("redirected off the site") << "redirect" << false;
        QTest::newRow("http elsewhere") << "elsewhere" << false;
    }
    void onlyAWholeCheckedDownloadIsWritten()
    {
        QFETCH(QString, how);
        QFETCH(bool, written);
        const QString path = QStringLiteral("/site/download/") + how;
        QString address = m_server.url(path);
        QString sha = QString::fromLatin1(QCryptographicHash::hash(Program, QCryptographicHash::Sha256).toHex());
        if (how == QStringLiteral("short"))
            m_server.closeEarly(path, Program.left(1000), Program.size());
        else if (how == QStringLiteral("stall"))
            m_server.stall(path);
        else if (how == QStringLiteral("html"))
            m_server.serve(path, "<html><body>下载</body></html>");
        else if (how == QStringLiteral("redirect")) {
            // Served there too: only the guard keeps it out.
            m_server.redirect(path, QStringLiteral("http://localhost:%1/other").arg(m_server.port()));
            m_server.serve(QStringLiteral("/other"), Program, 200, "application/octet-stream");
        }
        else if (how == QStringLiteral("elsewhere"))
            address = QStringLiteral("http://example.invalid/tavrin");
        else if (how != QStringLiteral("404"))
            m_server.serve(path, Program, 200, "application/octet-stream");
        if (how == QStringLiteral("wronghash"))
            sha = QString(64, u'1');
        if (how == QStringLiteral("nohash"))
            sha.clear();
        const QString signature = how == QStringLiteral("nosignature") ? QString()
            : how == QStringLiteral("otherkey")                        ? TestSignature::signWithOtherKey(Program)
                                                                       : TestSignature::sign(Program);
        m_server.serve(QStringLiteral("/site/update.xml"), descriptor(newer(), address, sha, signature), 200, "text/xml");

        auto live = update();
        live->setIdleTimeout(500);
        QSignalSpy checked(live.get(), &LiveUpdate::checked);
        live->check();
        QTRY_COMPARE(checked.size(), 1);
        QSignalSpy done(live.get(), &LiveUpdate::downloaded);
        QSignalSpy failed(live.get(), &LiveUpdate::downloadFailed);
        live->download();
        QTRY_COMPARE(done.size() + failed.size(), 1);
        QCOMPARE(done.size(), written ? 1 : 0);
        const QString target = live->targetPath();
        QCOMPARE(QFile::exists(target), written);
        if (written) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), Program);
            QVERIFY(QFile::remove(target));
        }
        // No temporary file stays behind either.
        QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tavrin.xml")});
    }

    // The program goes to its file beside the target as it arrives, not into
    // memory; a download abandoned half-way leaves nothing behind. The file
    // may have no name until it is complete, so it is found among the open ones.
    void thePayloadIsWrittenAsItArrives()
    {
#ifndef Q_OS_LINUX
        QSKIP("open files are looked up in /proc");
#endif
        const QString path = QStringLiteral("/site/download/held");
        const QByteArray half = Program + QByteArray(1 << 20, 'q');
        m_server.holdAfter(path, half, 2 * half.size());
        m_server.serve(QStringLiteral("/site/update.xml"), descriptor(newer(), m_server.url(path)), 200, "text/xml");
        auto live = update();
        QSignalSpy checked(live.get(), &LiveUpdate::checked);
        live->check();
        QTRY_COMPARE(checked.size(), 1);
        QSignalSpy failed(live.get(), &LiveUpdate::downloadFailed);
        live->download();
        const QString folder = QFileInfo(m_folder.path()).canonicalFilePath() + u'/';
        const auto staged = [&folder] {
            qint64 size = -1;
            const QDir open(QStringLiteral("/proc/self/fd"));
            for (const QFileInfo &fd : open.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
                const QString target = fd.symLinkTarget();
                if (target.startsWith(folder) && !target.endsWith(QStringLiteral("tavrin.xml")))
                    size = std::max(size, fd.size());
            }
            return size;
        };
        QTRY_VERIFY2(staged() > half.size() / 2, qPrintable(QString::number(staged())));
        QCOMPARE(failed.size(), 0);
        live.reset();
        QCOMPARE(staged(), qint64(-1));
        QCOMPARE(QDir(m_folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tavrin.xml")});
    }
};

QTEST_GUILESS_MAIN(tst_LiveUpdate)
#include "tst_LiveUpdate.moc"
