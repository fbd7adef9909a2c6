#include "core/AppGlobals.h"
#include "core/InstanceLock.h"
#include "core/ProgramData.h"
#include "core/Startup.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The new program file: a script that leaves `marker` when it runs.
QString writeUpdater(const TempProgramFolder &folder, const QString &marker)
{
    const QString updater = folder.writeFile(QStringLiteral("liveupdate"), "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return updater;
}

} // namespace

// The entry procedure in-process, on a temporary program folder.
class tst_Startup : public QObject
{
    Q_OBJECT

private:
    RecordingMessageSink m_sink;

private Q_SLOTS:
    void initTestCase()
    {
        // Instance locks of this test live in a folder of its own.
        static TempProgramFolder runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }

    void init() { m_sink.clear(); }

    void outcomes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        const QByteArray good = TempProgramFolder::defaultConfig();
        const int ready = int(Startup::Outcome::Ready);
        QTest::newRow("normal") << QStringList{} << good << ready << QString();
        QTest::newRow("lower-case /u is a normal start") << QStringList{u"/u"_s} << good << ready << QString();
        QTest::newRow("/U with a blank") << QStringList{u"/U "_s} << good << ready << QString();
        QTest::newRow("/U and more") << QStringList{u"/U"_s, u"x"_s} << good << ready << QString();
        QTest::newRow("missing config") << QStringList{} << QByteArray() << int(Startup::Outcome::ConfigMissing)
                                        << Startup::configMissingText();
        QTest::newRow("malformed config") << QStringList{} << QByteArray("<App><Settings></App>")
                                          << int(Startup::Outcome::ConfigMalformed) << QStringLiteral("格式错误");
    }
    void outcomes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, config);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        TempProgramFolder folder;
        if (!config.isEmpty())
            folder.writeFile(QStringLiteral("tavrin.xml"), config);
        InstanceLock lock;
        Startup startup(m_sink, lock);
        QCOMPARE(int(startup.run(arguments, folder.filePath(QStringLiteral("tavrin")))), outcome);
        QCOMPARE(Globals().AppPath, folder.path() + u'/');
        if (message.isEmpty()) {
            QVERIFY(m_sink.messages().isEmpty());
            QVERIFY(Globals().Config.OK());
        } else {
            QCOMPARE(m_sink.messages().size(), 1);
            QVERIFY(m_sink.texts().front().contains(message));
        }
    }

    void secondInstanceIsRefused()
    {
        TempProgramFolder folder;
        folder.copyDefaultConfig();
        InstanceLock first;
        QVERIFY(first.tryLock());
        InstanceLock second;
        Startup startup(m_sink, second);
        QCOMPARE(startup.run({}, folder.filePath(QStringLiteral("tavrin"))), Startup::Outcome::AlreadyRunning);
        QCOMPARE(m_sink.texts(), QStringList{Startup::alreadyRunningText()});
        QCOMPARE(m_sink.messages().front().icon, MessageIcon::Exclamation);
        QVERIFY(first.isLocked());

        first.unlock();
        m_sink.clear();
        QCOMPARE(startup.run({}, folder.filePath(QStringLiteral("tavrin"))), Startup::Outcome::Ready);
    }

    void updateModeReplacesAndStartsTheProgram()
    {
        TempProgramFolder folder;
        const QString marker = folder.filePath(QStringLiteral("started"));
        const QString updater = writeUpdater(folder, marker);
        folder.writeFile(QStringLiteral("tavrin"), "old program");
        InstanceLock held; // no single-instance test in this mode
        QVERIFY(held.tryLock());
        InstanceLock lock;
        Startup startup(m_sink, lock);
        QCOMPARE(startup.run({QStringLiteral("/U")}, updater), Startup::Outcome::UpdateFinished);
        QCOMPARE(m_sink.texts(), QStringList{Startup::updateDoneText()});
        QCOMPARE(folder.readFile(QStringLiteral("tavrin")), folder.readFile(QStringLiteral("liveupdate")));
        QTRY_VERIFY(QFile::exists(marker));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("tavrin.update"))));
    }

    // As root a package's folder is writable: its marker still keeps it whole.
    void anInstallationNeverReplacesItself()
    {
        TempProgramFolder folder;
        const QString marker = folder.filePath(QStringLiteral("started"));
        const QString updater = writeUpdater(folder, marker);
        folder.writeFile(QStringLiteral("tavrin"), "packaged program");
        folder.writeFile(QLatin1String(ProgramData::InstalledMarker), "an installation");
        InstanceLock lock;
        Startup startup(m_sink, lock);
        QCOMPARE(startup.run({QStringLiteral("/U")}, updater), Startup::Outcome::UpdateFailed);
        QCOMPARE(m_sink.texts().size(), 1);
        QVERIFY(m_sink.texts().front().startsWith(QStringLiteral("Tessaly更新过程中出现问题")));
        QCOMPARE(folder.readFile(QStringLiteral("tavrin")), QByteArray("packaged program"));
        QTest::qWait(200);
        QVERIFY(!QFile::exists(marker));
    }

    void updateModeReportsAFailedCopy()
    {
        TempProgramFolder folder;
        InstanceLock lock;
        Startup startup(m_sink, lock);
        QCOMPARE(startup.run({QStringLiteral("/U")}, folder.filePath(QStringLiteral("no-such-updater"))),
                 Startup::Outcome::UpdateFailed);
        QCOMPARE(m_sink.texts().size(), 2);
        QVERIFY(m_sink.texts().last().startsWith(QStringLiteral("Tessaly更新过程中出现问题,请访问网站(http")));
        QVERIFY(m_sink.texts().last().endsWith(QStringLiteral(")下载新的安装程序进行更新!")));
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("tavrin"))));
    }
};

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_Startup.moc"

