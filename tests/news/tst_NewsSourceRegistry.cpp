#include "core/cls_Config.h"
#include "news/NewsSourceRegistry.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The registry of sources: the six built in, and the feed and page sources
// the configuration lists, each checked before it is used.
class tst_NewsSourceRegistry : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;

    QStringList load(const QString &feeds, NewsSourceRegistry &registry)
    {
        QByteArray config = m_folder.readFile(QFileInfo(m_folder.copyDefaultConfig()).fileName());
        config.replace("</Tavrin>", "<Feeds>" + feeds.toUtf8() + "</Feeds></Tavrin>");
        cls_Config store(&m_sink);
        store.setXmlFile(m_folder.writeFile(u"tavrin.xml"_s, config));
        if (!store.Initialize())
            return {u"the configuration did not load"_s};
        return registry.load(store);
    }

private Q_SLOTS:
    void feedEntriesAreCheckedOneByOne_data()
    {
        QTest::addColumn<QString>("feed");
        QTest::addColumn<QString>("problem"); // empty: loaded
        QTest::addColumn<QString>("kind");    // as loaded

        QTest::newRow("defaults") << u"<Feed Name=\"快讯\" Url=\"https://a.example.cn/rss\"/>"_s << QString() << u"auto"_s;
        QTest::newRow("all attributes") << u"<Feed Name=\"快讯\" Url=\"http://a.example.cn/rss\" Checked=\"0\" IntervalTime=\"3600\" Kind=\"ATOM\"/>"_s
                                        << QString() << u"atom"_s;
        QTest::newRow("page with selectors")
            << u"<Feed Name=\"网页\" Url=\"https://a.example.cn/\" Kind=\"page\" Item=\".flash > .row\" Title=\"a.h\" Link=\"a@data-href\" Time=\"time@datetime\"/>"_s
            << QString() << u"page"_s;
        // Another site read by one of the six pages' parsers, its kind written in any case.
        QTest::newRow("a kind of page") << u"<Feed Name=\"镜像\" Url=\"https://b.example.cn/news/\" Kind=\" dailyfx \"/>"_s
                                        << QString() << u"DailyFX"_s;
        QTest::newRow("no name") << u"<Feed Url=\"https://a.example.cn/rss\"/>"_s << u"名称不能为空"_s << QString();
        QTest::newRow("name of a built-in source") << u"<Feed Name=\"fx168\" Url=\"https://a.example.cn/rss\"/>"_s
                                                   << u"名称已被使用"_s << QString();
        QTest::newRow("no address") << u"<Feed Name=\"快讯\"/>"_s << u"地址应以"_s << QString();
        QTest::newRow("file address") << u"<Feed Name=\"快讯\" Url=\"file:///etc/passwd\"/>"_s << u"地址应以"_s << QString();
        QTest::newRow("interval too short") << u"<Feed Name=\"快讯\" Url=\"https://a.example.cn/\" IntervalTime=\"5\"/>"_s
                                            << u"刷新间隔应在"_s << QString();
        QTest::newRow("interval not a number") << u"<Feed Name=\"快讯\" Url=\"https://a.example.cn/\" IntervalTime=\"often\"/>"_s
                                               << u"刷新间隔"_s << QString();
        QTest::newRow("checked not 0 or 1") << u"<Feed Name=\"快讯\" Url=\"https://a.example.cn/\" Checked=\"yes\"/>"_s
                                            << u"Checked"_s << QString();
        QTest::newRow("unknown kind") << u"<Feed Name=\"快讯\" Url=\"https://a.example.cn/\" Kind=\"gopher\"/>"_s
                                      << u"未知的类型"_s << QString();
        QTest::newRow("page without title selector") << u"<Feed Name=\"网页\" Url=\"https://a.example.cn/\" Kind=\"page\" Item=\"li\"/>"_s
                                                     << u"网页来源需要"_s << QString();
        QTest::newRow("page with a selector outside the subset")
            << u"<Feed Name=\"网页\" Url=\"https://a.example.cn/\" Kind=\"page\" Item=\"li:hover\" Title=\"a\"/>"_s
            << u"Item 选择器无效"_s << QString();
    }
    void feedEntriesAreCheckedOneByOne()
    {
        QFETCH(QString, feed);
        QFETCH(QString, problem);
        QFETCH(QString, kind);
        NewsSourceRegistry registry;
        // Between two good entries, which load whatever this one is.
        const QStringList problems = load(u"<Feed Name=\"甲\" Url=\"https://x.example.cn/a\"/>"_s + feed
                                              + u"<Feed Name=\"乙\" Url=\"https://x.example.cn/b\"/>"_s,
                                          registry);
        const QList<NewsSource> sources = registry.sources();
        QCOMPARE(sources.size(), problem.isEmpty() ? 9 : 8);
        QCOMPARE(sources.at(6).name, u"甲"_s);
        QCOMPARE(sources.last().name, u"乙"_s);
        QCOMPARE(sources.last().id, problem.isEmpty() ? 1002 : 1001);
        if (problem.isEmpty()) {
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
            const NewsSource &loaded = sources.at(7);
            QCOMPARE(loaded.id, 1001);
            QVERIFY(loaded.isUserSource());
            QCOMPARE(loaded.anchor, u"iFeed1001"_s);
            QCOMPARE(loaded.table, u"iFeed1001News_Table"_s);
            QCOMPARE(loaded.label, u" - "_s + loaded.name);
            QCOMPARE(loaded.kind, kind);
            // A kind of page looks like its kind: label, icon, DailyFX's composite items.
            const bool pageKind = kind == u"DailyFX"_s;
            QCOMPARE(loaded.isFeed(), !pageKind);
            QCOMPARE(loaded.labelClass, pageKind ? kind : u"feed"_s);
            QCOMPARE(loaded.icon, pageKind ? u"Dailyfx.gif"_s : u"new.gif"_s);
            QCOMPARE(loaded.compositeInfo, pageKind);
        } else {
            QCOMPARE(problems.size(), 1);
            QVERIFY2(problems.front().contains(problem), qPrintable(problems.front()));
        }
    }

    void theSixAreBuiltInAndEntriesChangeAtRunTime()
    {
        NewsSourceRegistry registry;
        QVERIFY(load(QString(), registry).isEmpty());
        QStringList names;
        for (const NewsSource &source : registry.sources()) {
            names << source.name;
            QVERIFY(!source.isFeed());
        }
        QCOMPARE(names, (QStringList{u"FXark"_s, u"FX168"_s, u"DailyFX"_s, u"CaiXun"_s, u"FX678"_s, u"HeXun"_s}));

        // Loaded again (the settings dialog saved): a source keeps its id while
        // its name stays; ids of removed sources are not given again.
        QSignalSpy added(&registry, &NewsSourceRegistry::sourceAdded);
        QSignalSpy changed(&registry, &NewsSourceRegistry::sourceChanged);
        QSignalSpy removed(&registry, &NewsSourceRegistry::sourceRemoved);
        const QString a = u"<Feed Name=\"甲\" Url=\"https://x.example.cn/a\"/>"_s;
        const QString b = u"<Feed Name=\"乙\" Url=\"https://x.example.cn/b\"/>"_s;
        QVERIFY(load(a + b, registry).isEmpty());
        QCOMPARE(added.size(), 2);
        QVERIFY(load(u"<Feed Name=\"乙\" Url=\"https://x.example.cn/b2\" IntervalTime=\"90\"/>"_s
                         + u"<Feed Name=\"丙\" Url=\"https://x.example.cn/c\"/>"_s,
                     registry)
                    .isEmpty());
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.last().at(0).toInt(), 1000);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.last().at(0).toInt(), 1001);
        QCOMPARE(registry.find(1001)->url, u"https://x.example.cn/b2"_s);
        QCOMPARE(registry.find(1001)->interval, 90);
        QCOMPARE(added.size(), 3);
        QCOMPARE(added.last().at(0).toInt(), 1002);
        QCOMPARE(registry.find(1002)->anchor, u"iFeed1002"_s);
        QVERIFY(!registry.find(1000));
        // The same entries once more: nothing to tell.
        QVERIFY(load(u"<Feed Name=\"乙\" Url=\"https://x.example.cn/b2\" IntervalTime=\"90\"/>"_s
                         + u"<Feed Name=\"丙\" Url=\"https://x.example.cn/c\"/>"_s,
                     registry)
                    .isEmpty());
        QCOMPARE(added.size() + changed.size() + removed.size(), 5);
    }
};

QTEST_GUILESS_MAIN(tst_NewsSourceRegistry)
#include "tst_NewsSourceRegistry.moc"
