#include "news/HistoryStore.h"
#include "news/NewsHistory.h"
#include "support/FakeClock.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <csignal>

using namespace Qt::StringLiterals;

// The news history: items kept once and given back per source, retention,
// search, a damaged or unwritable database, and a writer killed mid-write.
class tst_HistoryStore : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    const QDateTime m_now{QDate(2026, 12, 8), QTime(6, 0), QTimeZone::utc()};

    static HistoryItem item(const QString &source, const QString &key, const QString &title, const QDateTime &arrived,
                            const QString &summary = {})
    {
        HistoryItem made;
        made.source = source;
        made.key = key;
        made.row.time = u"12-08 14:00"_s;
        made.row.timeKey = u"202612081400"_s;
        made.row.title = title;
        made.row.summary = summary;
        made.row.link = u"https://a.example.cn/"_s + key;
        made.row.important = key.endsWith(u'!');
        made.categories = {u"重要"_s};
        made.arrived = arrived;
        return made;
    }
    static QStringList keysOf(const QList<HistoryItem> &items)
    {
        QStringList keys;
        for (const HistoryItem &made : items)
            keys << made.source + u'/' + made.key;
        return keys;
    }

private Q_SLOTS:
    void itemsAreKeptOnceAndComeBackPerSource()
    {
        const QString path = m_folder.filePath(u"kept.db"_s);
        {
            HistoryStore store(u"a"_s);
            QCOMPARE(store.open(path, m_now), HistoryStore::Opened::Ready);
            QVERIFY(store.add({item(u"FX168"_s, u"1"_s, u"一"_s, m_now), item(u"快讯"_s, u"x!"_s, u"甲"_s, m_now),
                               item(u"FX168"_s, u"2"_s, u"二"_s, m_now)}));
            QVERIFY(store.add({item(u"FX168"_s, u"1"_s, u"一 again"_s, m_now), item(u"FX168"_s, u"3"_s, u"三"_s, m_now)}));
        }
        HistoryStore store(u"b"_s);
        QCOMPARE(store.open(path, m_now), HistoryStore::Opened::Ready);
        QCOMPARE(store.count(), 4);
        const QList<HistoryItem> newest = store.newest({u"FX168"_s, u"快讯"_s, u"gone"_s}, 2);
        QCOMPARE(keysOf(newest), (QStringList{u"快讯/x!"_s, u"FX168/2"_s, u"FX168/3"_s}));
        const HistoryItem &feed = newest.front();
        QCOMPARE(feed.row.title, u"甲"_s);
        QVERIFY(feed.row.important);
        QCOMPARE(feed.row.link, u"https://a.example.cn/x!"_s);
        QCOMPARE(feed.row.timeKey, u"202612081400"_s);
        QCOMPARE(feed.categories, QStringList{u"重要"_s});
        QCOMPARE(feed.arrived, m_now);
        QCOMPARE(store.keys({u"FX168"_s}, 5).value(u"FX168"_s), (QStringList{u"1"_s, u"2"_s, u"3"_s}));
        QCOMPARE(store.keys({u"FX168"_s}, 2).value(u"FX168"_s), (QStringList{u"2"_s, u"3"_s}));
    }

    // Items older than the days kept go at the start and once a day; 0 keeps all.
    void retentionRemovesExactlyTheOldItems_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("thirty days") << 30 << QStringList{u"S/29 days"_s, u"S/today"_s};
        QTest::newRow("one day") << 1 << QStringList{u"S/today"_s};
        QTest::newRow("keep everything") << 0 << QStringList{u"S/31 days"_s, u"S/29 days"_s, u"S/today"_s};
    }
    void retentionRemovesExactlyTheOldItems()
    {
        QFETCH(int, days);
        QFETCH(QStringList, left);
        const QString path = m_folder.filePath(u"retention-%1.db"_s.arg(days));
        {
            HistoryStore store(u"fill"_s);
            QCOMPARE(store.open(path, m_now), HistoryStore::Opened::Ready);
            QVERIFY(store.add({item(u"S"_s, u"31 days"_s, u"旧"_s, m_now.addDays(-31)),
                               item(u"S"_s, u"29 days"_s, u"近"_s, m_now.addDays(-29)), item(u"S"_s, u"today"_s, u"新"_s, m_now)}));
        }
        FakeClock clock(m_now);
        NewsHistory history(clock);
        history.open(path, days);
        QCOMPARE(keysOf(history.newest({u"S"_s}, 10)), left);
    }

    void searchFindsShortAndLongWordsAndSources_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("hits"); // newest first
        QTest::newRow("two characters") << u"非农"_s << QStringList{u"FX168/3"_s, u"HeXun/1"_s};
        QTest::newRow("a longer word") << u"就业人数"_s << QStringList{u"FX168/3"_s, u"HeXun/1"_s};
        QTest::newRow("in the summary") << u"鲍威尔"_s << QStringList{u"FX168/2"_s};
        QTest::newRow("every word must match") << u"非农 大增"_s << QStringList{u"HeXun/1"_s};
        QTest::newRow("a source") << u"FX168: 非农"_s << QStringList{u"FX168/3"_s};
        QTest::newRow("a source by its caption") << u"和讯： 非农"_s << QStringList{u"HeXun/1"_s};
        QTest::newRow("latin letters in any case") << u"cpi"_s << QStringList{u"FX168/2"_s};
        QTest::newRow("a miss") << u"日元"_s << QStringList{};
        QTest::newRow("a colon after a word that is no source") << u"讲话："_s << QStringList{};
        QTest::newRow("a colon inside the text") << u"数据："_s << QStringList{u"FX168/2"_s};
        QTest::newRow("wildcards are letters") << u"%"_s << QStringList{};
        QTest::newRow("quotes are letters") << u"\"非农"_s << QStringList{};
    }
    void searchFindsShortAndLongWordsAndSources()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, hits);
        HistoryStore store(u"search"_s);
        QCOMPARE(store.open(m_folder.filePath(u"search.db"_s), m_now), HistoryStore::Opened::Ready);
        QVERIFY(store.add({item(u"HeXun"_s, u"1"_s, u"美国非农就业人数大增"_s, m_now),
                           item(u"FX168"_s, u"2"_s, u"美国CPI数据：公布"_s, m_now, u"鲍威尔讲话"_s),
                           item(u"FX168"_s, u"3"_s, u"非农就业人数低于预期"_s, m_now)}));
        QCOMPARE(keysOf(store.search(query, 10)), hits);
    }

    // A damaged file is kept aside and a new history made, said once; a
    // place where none can be made turns the history off, said once.
    void aDamagedOrImpossibleDatabaseIsTold()
    {
        const QString path = m_folder.filePath(u"damaged.db"_s);
        QFile garbage(path);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(QByteArray(8192, 'x'));
        garbage.close();
        FakeClock clock(m_now);
        NewsHistory history(clock);
        QSignalSpy problems(&history, &NewsHistory::problem);
        history.open(path, 30);
        QCOMPARE(problems.size(), 1);
        QVERIFY(history.isOn());
        const QString aside = path + u".broken-20261208-060000"_s;
        QVERIFY2(problems.front().front().toString().contains(aside), qPrintable(problems.front().front().toString()));
        QCOMPARE(QFile(aside).size(), 8192);
        history.add(item(u"S"_s, u"1"_s, u"新"_s, m_now));
        history.flush();
        QCOMPARE(history.newest({u"S"_s}, 5).size(), 1);

        NewsHistory nowhere(clock);
        QSignalSpy off(&nowhere, &NewsHistory::problem);
        nowhere.open(m_folder.filePath(u"no/such/folder/history.db"_s), 30);
        nowhere.open(m_folder.path(), 30); // a folder, not a file: left as it is
        QCOMPARE(off.size(), 2);
        QVERIFY(!nowhere.isOn());
        QVERIFY(QFileInfo(m_folder.path()).isDir());
        nowhere.add(item(u"S"_s, u"1"_s, u"新"_s, m_now)); // nothing happens, nothing is said
        nowhere.flush();
        QCOMPARE(off.size(), 2);
    }

    // A writer killed at any moment leaves a database that opens whole, with what it had written.
    void aKillMidWriteLosesNoDatabase()
    {
        const QString path = m_folder.filePath(u"killed.db"_s);
        QProcess writer;
        writer.start(QStringLiteral(HISTORY_WRITER), {path});
        QVERIFY(writer.waitForReadyRead(10000));
        QTest::qWait(300);
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(5000));
        HistoryStore store(u"after"_s);
        QCOMPARE(store.open(path, m_now), HistoryStore::Opened::Ready);
        QVERIFY(store.count() >= 50);
        QCOMPARE(store.count() % 50, 0); // whole batches only
    }
};

QTEST_GUILESS_MAIN(tst_HistoryStore)
#include "tst_HistoryStore.moc"
