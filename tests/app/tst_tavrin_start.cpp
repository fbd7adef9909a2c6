#include "core/InstanceLock.h"
#include "news/HistoryStore.h"
#include "support/ProgramRun.h"
#include "support/TempProgramFolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <csignal>
#include <QTest>

// The real program started as a user would start it, from a program folder of
// its own, without a screen: what it has to say goes to standard error.
class tst_tavrin_start : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_runtime;

    // No screen, the test's own runtime folder (the instance lock lives there).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

    ProgramRun start(const TempProgramFolder &folder, const QStringList &arguments = {})
    {
        return ProgramRun::of(folder.filePath(QStringLiteral("tavrin")), arguments, environment());
    }

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit()); }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("message");
        QTest::newRow("no configuration") << QByteArray() << QStringLiteral("配置文件tavrin.xml 文件不存在!\n");
        QTest::newRow("malformed") << QByteArray("<App><Window></App>") << QStringLiteral("格式错误");
        QTest::newRow("wrong root") << QByteArray("<Tavrin/>") << QStringLiteral("根元素应为 App");
    }
    void refusals()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, message);
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        if (!config.isEmpty())
            folder.writeFile(QStringLiteral("tavrin.xml"), config);
        const ProgramRun run = start(folder);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        QCOMPARE(folder.readFile(QStringLiteral("tavrin.xml")), config);
    }

    void runsWithItsConfigurationAndRefusesASecondInstance()
    {
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        folder.copyProgram(QStringLiteral("torvel"));
        folder.copyLocalConfig();
        QProcess first;
        first.setProcessEnvironment(environment());
        first.start(folder.filePath(QStringLiteral("tavrin")));
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_runtime.filePath(QStringLiteral("Tessaly.lock"))), 20000);
        const ProgramRun second = start(folder);
        QCOMPARE(second.exitCode, 1);
        QCOMPARE(second.errors, QStringLiteral("检测到一个正在运行的Tessaly!\n"));
        QCOMPARE(first.state(), QProcess::Running);
        QVERIFY(!QString::fromUtf8(first.readAllStandardError()).contains(QStringLiteral("配置文件")));
        first.terminate();
        QVERIFY(first.waitForFinished(20000));
    }

    void endsCleanlyAndSavesOnTerminationSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endsCleanlyAndSavesOnTerminationSignals()
    {
        QFETCH(int, signalNumber);
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        folder.copyProgram(QStringLiteral("torvel"));
        // Without the bar's element: the start puts it back in memory, only the end writes it.
        const QString configPath = folder.copyLocalConfig();
        QFile config(configPath);
        QVERIFY(config.open(QIODevice::ReadOnly));
        QByteArray text = config.readAll();
        config.close();
        const qsizetype bar = text.indexOf("<FXBar ");
        QVERIFY(bar >= 0);
        text.remove(bar, text.indexOf("/>", bar) + 2 - bar);
        QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate) && config.write(text) == text.size());
        config.close();
        QProcess program;
        program.setProcessEnvironment(environment());
        program.start(folder.filePath(QStringLiteral("tavrin")));
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_runtime.filePath(QStringLiteral("Tessaly.lock"))), 20000);
        QTest::qWait(2000);
        QVERIFY(program.processId() > 0); // kill(0) would hit the whole test run
        ::kill(pid_t(program.processId()), signalNumber);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(config.open(QIODevice::ReadOnly));
        QVERIFY(config.readAll().contains("<FXBar "));
        QVERIFY(!QFile::exists(m_runtime.filePath(QStringLiteral("Tessaly.lock"))));
    }

    // Qt's own options are not taken out before "/U" is looked at.
    // The stored week as an iCalendar file from the command line: no display,
    // no window, and the instance lock of a running program is no obstacle.
    void exportsTheStoredWeekWithoutADisplay_data()
    {
        QTest::addColumn<QByteArray>("week");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("a stored week")
            << QByteArray("<FXCalendar DateFrom=\"2026-12-7\"><Week1 Event=\"\"><Item Time=\"21:30\" Notify=\"1\">非农</Item></Week1>"
                          "<Week2/><Week3/><Week4/><Week5/></FXCalendar>")
            << 0 << QString();
        QTest::newRow("none stored") << QByteArray("<FXCalendar DateFrom=\"\"/>") << 1 << QStringLiteral("没有已保存的财经日历");
    }
    void exportsTheStoredWeekWithoutADisplay()
    {
        QFETCH(QByteArray, week);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        folder.writeFile(QStringLiteral("tavrin.xml"), "<App>" + week + "</App>");
        InstanceLock held;
        QVERIFY(held.tryLock());
        QProcessEnvironment env = environment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const QString file = folder.filePath(QStringLiteral("week.ics"));
        const ProgramRun run = ProgramRun::of(folder.filePath(QStringLiteral("tavrin")),
                                              {QStringLiteral("--export-calendar"), file}, env);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.errors.contains(message), qPrintable(run.errors));
        const QByteArray written = folder.readFile(QStringLiteral("week.ics"));
        QCOMPARE(written.contains("BEGIN:VEVENT\r\n"), exitCode == 0);
        QCOMPARE(written.contains("DTSTART:20261207T133000Z\r\n"), exitCode == 0);
    }

    // The history searched from the command line while the program runs:
    // JSON lines newest first, a source filter, nothing for a miss.
    void searchesTheHistoryWhileTheProgramRuns_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("two characters") << QStringList{QStringLiteral("非农")} << 0
                                        << QStringList{QStringLiteral("非农低于预期"), QStringLiteral("美国非农大增")};
        QTest::newRow("a source") << QStringList{QStringLiteral("和讯: 非农")} << 0 << QStringList{QStringLiteral("美国非农大增")};
        QTest::newRow("a limit") << QStringList{QStringLiteral("非农"), QStringLiteral("--limit"), QStringLiteral("1")} << 0
                                 << QStringList{QStringLiteral("非农低于预期")};
        QTest::newRow("a miss") << QStringList{QStringLiteral("日元")} << 0 << QStringList{};
        QTest::newRow("no words") << QStringList{QStringLiteral(" ")} << 2 << QStringList{};
    }
    void searchesTheHistoryWhileTheProgramRuns()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, titles);
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        const auto environmentWithoutDisplay = [this] {
            QProcessEnvironment env = environment();
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            return env;
        };
        const ProgramRun none = ProgramRun::of(folder.filePath(QStringLiteral("tavrin")),
                                               QStringList{QStringLiteral("--search")} + arguments, environmentWithoutDisplay());
        QCOMPARE(none.exitCode, exitCode == 0 ? 1 : exitCode); // no history yet
        {
            HistoryStore store(QStringLiteral("fill"));
            QCOMPARE(store.open(folder.filePath(QStringLiteral("history.db")), QDateTime::currentDateTimeUtc()),
                     HistoryStore::Opened::Ready);
            HistoryItem first;
            first.source = QStringLiteral("HeXun");
            first.key = QStringLiteral("1");
            first.row.title = QStringLiteral("美国非农大增");
            first.row.timeKey = QStringLiteral("202612081430");
            first.row.link = QStringLiteral("https://a.example.cn/1");
            HistoryItem second = first;
            second.source = QStringLiteral("FX168");
            second.row.title = QStringLiteral("非农低于预期");
            second.row.summary = QStringLiteral("美元走弱");
            QVERIFY(store.add({first, second}));
        }
        InstanceLock running;
        QVERIFY(running.tryLock());
        const ProgramRun run = ProgramRun::of(folder.filePath(QStringLiteral("tavrin")),
                                              QStringList{QStringLiteral("--search")} + arguments, environmentWithoutDisplay());
        QCOMPARE(run.exitCode, exitCode);
        QStringList found;
        for (const QByteArray &line : run.out.split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject hit = QJsonDocument::fromJson(line).object();
            QCOMPARE(hit.value(QStringLiteral("time")).toString(), QStringLiteral("2026-12-08T14:30:00+08:00"));
            QVERIFY(hit.value(QStringLiteral("link")).toString().startsWith(QStringLiteral("https://")));
            found << hit.value(QStringLiteral("title")).toString();
        }
        QCOMPARE(found, titles);
    }

    void updateModeNeedsUAlone()
    {
        TempProgramFolder folder;
        const QString updater = folder.copyProgram(QStringLiteral("tavrin"), QStringLiteral("liveupdate"));
        folder.writeFile(QStringLiteral("tavrin"), "old");
        const ProgramRun run = ProgramRun::of(updater, {QStringLiteral("/U"), QStringLiteral("-style"), QStringLiteral("fusion")},
                                              environment());
        QVERIFY(run.exitCode != 0);
        QCOMPARE(folder.readFile(QStringLiteral("tavrin")), QByteArray("old"));
    }

    void secondInstanceIsRefusedWhileTheLockIsHeld()
    {
        TempProgramFolder folder;
        folder.copyProgram(QStringLiteral("tavrin"));
        folder.copyDefaultConfig();
        InstanceLock running;
        QVERIFY(running.tryLock());
        const ProgramRun run = start(folder);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.errors, QStringLiteral("检测到一个正在运行的Tessaly!\n"));
        QVERIFY(running.isLocked());
    }

    void updateModeNeedsNoConfiguration()
    {
        TempProgramFolder folder;
        const QString updater = folder.copyProgram(QStringLiteral("tavrin"), QStringLiteral("liveupdate"));
        folder.writeFile(QStringLiteral("tavrin"), "old");
        const QByteArray program = folder.readFile(QStringLiteral("liveupdate"));
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(updater, {QStringLiteral("/U")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).startsWith(QStringLiteral("Tessaly版本更新完成")));
        QCOMPARE(folder.readFile(QStringLiteral("tavrin")), program);
    }
};

QTEST_GUILESS_MAIN(tst_tavrin_start)
#include "tst_tavrin_start.moc"
