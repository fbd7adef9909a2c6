#include "core/cls_Config.h"
#include "news/KnownKeysFile.h"
#include "news/AlertRules.h"
#include "news/NewsBoard.h"
#include "news/StoryFolder.h"
#include "news/NewsSourceRegistry.h"
#include "news/NewsView.h"
#include "support/FakeClock.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <stdexcept>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// A page kept as the model would leave it: rows per table, the status, the tabs.
class PageModel : public NewsView
{
public:
    QHash<QString, QList<NewsRow>> tables; // newest first
    QStringList filled;
    QHash<QString, QString> notes;
    QList<Failure> failures;
    QStringList timeouts;
    bool arrived = false;
    QStringList tabsShown;
    QString firstShown;
    QStringList popups; // the texts of news notifications
    QStringList alerts; // an alert's text, sound and marks
    QList<Notification> notifications;
    int sorts = 0;

    void insertRow(const QString &table, const NewsRow &row) override
    {
        if (row.title == u"页面出错"_s)
            throw std::runtime_error("the page refused the row");
        tables[table].prepend(row);
    }
    void deleteLastRow(const QString &table) override { tables[table].removeLast(); }
    void tableFilled(const QString &table) override { filled << table; }
    void noteStory(const QString &storyMark, const QString &note) override { notes[storyMark] = note; }
    void showStatus(const QList<Failure> &nowFailing, const QStringList &late) override
    {
        failures = nowFailing;
        timeouts = late;
    }
    void newsArrived() override { arrived = true; }
    void sortAllNews() override { ++sorts; }
    void notify(const Notification &notification) override
    {
        notifications << notification;
        const QString text = notification.lines.value(0).text;
        if (notification.origin == Notification::Origin::Alert)
            alerts << text + u'|' + notification.sound.value_or(u"?"_s) + u'|' + notification.marks.join(u',');
        else
            popups << text;
    }
    void showSourceTab(const QString &anchor, bool shown) override
    {
        if (shown)
            tabsShown << anchor;
        else
            tabsShown.removeAll(anchor);
    }
    void sourceTabsChanged(const QString &first) override { firstShown = first; }

    NewsRow row(const QString &table, int index) const { return tables.value(table).value(index); }
};

// A page parser's message as the worker's client decodes it (DailyFX's composite).
NewsItem message(int id, const QString &time, const QString &info, const QString &href)
{
    return NewsItem::fromMessage(id, time, info, href, id == 103);
}

// A feed item as the worker sends it.
QString record(const QString &key, const QString &time, const QString &title, const QString &summary,
               const QString &link, bool important, const QString &popup)
{
    const QJsonObject item{{u"key"_s, key},         {u"time"_s, time}, {u"title"_s, title},
                           {u"summary"_s, summary}, {u"link"_s, link}, {u"important"_s, important},
                           {u"popup"_s, popup}};
    return QString::fromUtf8(QJsonDocument(item).toJson(QJsonDocument::Compact));
}

} // namespace

class tst_NewsBoard : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    cls_Config m_config{&m_sink};
    QList<std::tuple<int, QString, QString>> m_fetches;
    std::unique_ptr<FetchSchedule> m_schedule;
    FakeClock m_clock{QDateTime(QDate(2026, 9, 5), QTime(14, 30))};

    std::unique_ptr<NewsBoard> board(PageModel &page)
    {
        m_fetches.clear();
        m_schedule = std::make_unique<FetchSchedule>();
        NewsSourceRegistry registry;
        registry.load(m_config);
        return std::make_unique<NewsBoard>(page, *m_schedule, m_clock, registry.sources(),
                                           [this](const NewsSource &source, const QString &known, const QString &url) {
                                               m_fetches.append({source.id, known, url});
                                           });
    }
    void set(const QString &source, const QString &attribute, const QString &value)
    {
        QVERIFY(m_config.SetNodeAttrib(u"Settings/Tavrin/Source/"_s + source, attribute, value));
    }
    // One scheduler second, as the main window's scheduler runs it.
    void tick(NewsBoard &b, const QDateTime &now)
    {
        for (const QString &key : m_schedule->tick())
            b.startFetch(key.toInt(), now);
    }
    void drain(NewsBoard &b)
    {
        while (b.processTask()) {
        }
    }
    QList<int> fetchedIds() const
    {
        QList<int> ids;
        for (const auto &fetch : m_fetches)
            ids << std::get<0>(fetch);
        return ids;
    }

private Q_SLOTS:
    void init()
    {
        m_config.setXmlFile(m_folder.copyDefaultConfig());
        QVERIFY(m_config.Initialize());
        m_sink.clear();
    }

    void settingsAndSchedule()
    {
        set(u"FXark"_s, u"IntervalTime"_s, u"-1"_s);
        set(u"FX168"_s, u"IntervalTime"_s, u"60"_s);
        set(u"CaiXun"_s, u"Checked"_s, u"0"_s);
        PageModel page;
        auto b = board(page);
        b->ApplySourceSettings(m_config);
        QCOMPARE(b->task(100).Interval, qint16(5));
        QCOMPARE(b->task(101).Interval, qint16(60));
        QVERIFY(!b->task(105).Enabled);
        QCOMPARE(page.firstShown, u"iFXark"_s); // the first visible source, for a window with no tab yet
        QVERIFY(!page.tabsShown.contains(u"iCaiXun"_s));

        const QDateTime now(QDate(2026, 9, 5), QTime(14, 30));
        tick(*b, now);
        QCOMPARE(fetchedIds(), (QList<int>{100, 101, 103, 102, 104}));
        QCOMPARE(std::get<2>(m_fetches.at(1)), b->task(101).Link + u"?cc="_s + NewsBoard::ToUnixTimeQuery(now));
        QCOMPARE(NewsBoard::ToUnixTimeQuery(now), QString::number(QDateTime(now.date(), now.time(), Qt::UTC).toSecsSinceEpoch() - 28800));

        // In flight: nothing new; a completion starts the interval.
        m_fetches.clear();
        tick(*b, now);
        QVERIFY(m_fetches.isEmpty());
        b->GetComplete(101, false);
        drain(*b);
        for (int i = 0; i < 59; ++i)
            tick(*b, now);
        QVERIFY(!fetchedIds().contains(101));
        tick(*b, now);
        QVERIFY(fetchedIds().contains(101));

        // An error retries three seconds later.
        m_fetches.clear();
        b->GetError(101, u"Request LinkExecute"_s);
        tick(*b, now);
        tick(*b, now);
        QVERIFY(!fetchedIds().contains(101));
        tick(*b, now);
        QVERIFY(fetchedIds().contains(101));

        // Changing only Checked leaves interval and count.
        QVERIFY(page.tabsShown.contains(u"iHeXun"_s));
        const qint16 count = b->task(104).TimeCount;
        set(u"HeXun"_s, u"Checked"_s, u"0"_s);
        b->ApplySourceSettings(m_config);
        QCOMPARE(b->task(104).TimeCount, count);
        QVERIFY(!b->task(104).Enabled);
        QVERIFY(!page.tabsShown.contains(u"iHeXun"_s));
    }

    void rowsTextsAndLimits()
    {
        PageModel page;
        auto b = board(page);
        b->add(message(101, u"09/05 14:30"_s, u"美元<b>走强</b> `a` | b"_s, u"http://x.cn/a?b=1&c='2'"_s));
        b->add(message(103, u"09/05 14:31"_s, u"09/05 14:31欧元~欧元&lt;<br/><font style='color:#0000FF'>摘要</font>"_s, QString()));
        b->GetComplete(101, true);
        QCOMPARE(page.sorts, 0);
        drain(*b);
        QCOMPARE(page.sorts, 1); // once, when the queue has emptied
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 2);
        QVERIFY(page.filled.contains(NewsView::AllNews));
        // Rows carry data: the page makes text of every part.
        const NewsRow fx168 = page.row(u"iFX168News_Table"_s, 0);
        QCOMPARE(fx168.title, u"美元<b>走强</b> `a` | b"_s);
        QCOMPARE(fx168.link, u"http://x.cn/a?b=1&c='2'"_s);
        QCOMPARE(fx168.time, u"09/05 14:30"_s);
        QCOMPARE(fx168.source, u"FX168"_s);
        QCOMPARE(fx168.label, QString());
        const NewsRow all = page.row(NewsView::AllNews, 1);
        QCOMPARE(all.title, fx168.title);
        QCOMPARE(all.link, fx168.link);
        QCOMPARE(all.label, u" - FX168"_s);
        // DailyFX: the key is known text, the display part shows as title and summary.
        const NewsRow dailyFx = page.row(u"iDailyFXNews_Table"_s, 0);
        QCOMPARE(dailyFx.title, u"欧元<"_s);
        QCOMPARE(dailyFx.summary, u"摘要"_s);
        QCOMPARE(dailyFx.link, QString());
        QCOMPARE(b->task(101).StrBuffer, u"美元<b>走强</b> `a` | b;"_s);
        QCOMPARE(b->task(103).StrBuffer, u"09/05 14:31欧元;"_s);
        QCOMPARE(page.popups, (QStringList{fx168.title, dailyFx.title}));
        // The popup's line: the source's icon, the item's time, text, link; DailyFX's summary.
        QCOMPARE(page.notifications.at(0).icon, u"FX168.gif"_s);
        QCOMPARE(page.notifications.at(0).lines, (QList<Notification::Line>{{fx168.time, fx168.title, {}, fx168.link}}));
        QCOMPARE(page.notifications.at(1).icon, u"Dailyfx.gif"_s);
        QCOMPARE(page.notifications.at(1).lines, (QList<Notification::Line>{{u"09/05 14:31"_s, u"欧元<"_s, u"摘要"_s, {}}}));
        QVERIFY(!page.notifications.at(1).untilClosed && !page.notifications.at(1).sound);
        QVERIFY(page.arrived);

        // A source table keeps 80 rows with its header, the newest on top.
        for (int i = 0; i < 100; ++i)
            b->add(message(104, u"10:%1"_s.arg(i % 60, 2, 10, QChar(u'0')), u"条目%1"_s.arg(i), QString()));
        drain(*b);
        QCOMPARE(page.tables.value(u"iHeXunNews_Table"_s).size(), NewsBoard::SourceLimit - 1);
        QCOMPARE(b->rowCount(u"iHeXunNews_Table"_s), NewsBoard::SourceLimit);
        QCOMPARE(page.row(u"iHeXunNews_Table"_s, 0).title, u"条目99"_s);
        QVERIFY(b->task(104).StrBuffer.startsWith(u"条目0;"_s)); // known texts stay
        for (int i = 0; i < 300; ++i)
            b->add(message(105, u"11:00"_s, u"x%1"_s.arg(i), QString()));
        drain(*b);
        QCOMPARE(b->rowCount(NewsView::AllNews), NewsBoard::AllNewsLimit);
        // The known-items text keeps the newest keys only, however long the run.
        for (int i = 100; i < 100 + NewsBoard::KnownLimit; ++i)
            b->add(message(104, u"12:00"_s, u"条目%1"_s.arg(i), QString()));
        drain(*b);
        QCOMPARE(b->task(104).StrBuffer.count(u';'), NewsBoard::KnownLimit);
        QVERIFY(b->task(104).StrBuffer.startsWith(u"条目100;"_s));
        QVERIFY(b->task(104).StrBuffer.endsWith(u"条目%1;"_s.arg(99 + NewsBoard::KnownLimit)));
    }

    // A feed source: fetched at its own address, its records shown as the
    // six's items are, its known keys one a line, and a server's asked-for
    // pause kept.
    void aFeedSourceShowsItsRecordsAndKeepsItsPauses()
    {
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin"_s, u"Feeds"_s));
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin/Feeds"_s, u"Feed"_s));
        for (const auto &[name, value] : {std::pair{u"Name"_s, u"快讯"_s}, {u"Url"_s, u"https://f.example.cn/rss"_s},
                                          {u"IntervalTime"_s, u"30"_s}})
            QVERIFY(m_config.CreateAttrib(u"Settings/Tavrin/Feeds/Feed"_s, name, value));
        PageModel page;
        auto b = board(page);
        b->ApplySourceSettings(m_config);
        QVERIFY(page.tabsShown.contains(u"iFeed1000"_s));
        const QDateTime now(QDate(2026, 9, 5), QTime(14, 30));
        for (int i = 0; i < 30; ++i)
            tick(*b, now);
        QVERIFY(fetchedIds().contains(1000));
        const auto fetch = *std::find_if(m_fetches.begin(), m_fetches.end(), [](const auto &f) { return std::get<0>(f) == 1000; });
        QCOMPARE(std::get<1>(fetch), QString());
        QCOMPARE(std::get<2>(fetch), u"https://f.example.cn/rss"_s);

        // An older item of a first fetch comes quiet: known, never shown.
        b->add(NewsItem::fromRecord(1000, u"{\"key\":\"k0\",\"time\":\"09-05 14:10\",\"title\":\"更旧\",\"quiet\":true}"_s));
        b->add(NewsItem::fromRecord(1000, record(u"k1"_s, u"09-05 14:20"_s, u"旧闻"_s, u"摘要"_s, u"https://f.example.cn/1"_s, false, u"<p1>"_s)));
        b->add(NewsItem::fromRecord(1000, record(u"k2"_s, u"09-05 14:29"_s, u"美联储加息"_s, QString(), QString(), true, u"<p2>"_s)));
        b->GetComplete(1000, true);
        drain(*b);
        QCOMPARE(page.tables.value(u"iFeed1000News_Table"_s).size(), 2);
        const NewsRow top = page.row(u"iFeed1000News_Table"_s, 0);
        QCOMPARE(top.title, u"美联储加息"_s);
        QVERIFY(top.important);
        QCOMPARE(page.row(u"iFeed1000News_Table"_s, 1).summary, u"摘要"_s);
        QCOMPARE(page.row(u"iFeed1000News_Table"_s, 1).link, u"https://f.example.cn/1"_s);
        const NewsRow all = page.row(NewsView::AllNews, 0);
        QCOMPARE(all.label, u" - 快讯"_s);
        QCOMPARE(all.source, u"feed"_s);
        QCOMPARE(all.timeKey, u"202609051429"_s);
        QCOMPARE(page.popups, (QStringList{u"旧闻"_s, u"美联储加息"_s}));
        // A feed's summary stays out of the popup.
        QCOMPARE(page.notifications.at(0).icon, u"new.gif"_s);
        QCOMPARE(page.notifications.at(0).lines,
                 (QList<Notification::Line>{{u"09-05 14:20"_s, u"旧闻"_s, {}, u"https://f.example.cn/1"_s}}));
        QCOMPARE(b->task(1000).StrBuffer, u"k0\nk1\nk2"_s);

        // 429 with Retry-After 120: the next fetch two minutes on, not sooner.
        m_fetches.clear();
        for (int i = 0; i < 30; ++i)
            tick(*b, now);
        QVERIFY(fetchedIds().contains(1000));
        b->GetRetry(1000, 120);
        b->GetError(1000, u"服务器忙 (HTTP 429), 120 秒后再试"_s);
        QCOMPARE(page.failures.value(0).message, u"服务器忙 (HTTP 429), 120 秒后再试"_s);
        m_fetches.clear();
        for (int i = 0; i < 119; ++i)
            tick(*b, now);
        QVERIFY(!fetchedIds().contains(1000));
        tick(*b, now);
        QVERIFY(fetchedIds().contains(1000));

        // Removed while it runs: its mark goes, it is fetched no more, and its late items find no source.
        b->GetError(1000, u"HTTP 500"_s);
        b->removeSource(1000);
        QVERIFY(!b->source(1000));
        QVERIFY(page.failures.isEmpty());
        m_fetches.clear();
        for (int i = 0; i < 200; ++i)
            tick(*b, now);
        QVERIFY(!fetchedIds().contains(1000));
        b->add(NewsItem::fromRecord(1000, record(u"k3"_s, u"09-05 14:31"_s, u"迟到"_s, {}, {}, false, {})));
        b->GetComplete(1000, true);
        drain(*b);
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 2);
    }

    // What a feed source reported is kept in a file beside the configuration,
    // given back after a restart, and a damaged file counts as empty.
    void aFeedSourcesKnownKeysSurviveARestart()
    {
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin"_s, u"Feeds"_s));
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin/Feeds"_s, u"Feed"_s));
        QVERIFY(m_config.CreateAttrib(u"Settings/Tavrin/Feeds/Feed"_s, u"Name"_s, u"快讯"_s));
        QVERIFY(m_config.CreateAttrib(u"Settings/Tavrin/Feeds/Feed"_s, u"Url"_s, u"https://f.example.cn/rss"_s));
        const KnownKeysFile file(m_folder.filePath(QLatin1String(KnownKeysFile::FileName)));
        {
            PageModel page;
            auto b = board(page);
            QList<int> changed;
            b->onKnownChanged([&changed](int id) { changed << id; });
            b->add(NewsItem::fromRecord(1000, record(u"k1"_s, u"09-05 14:20"_s, u"甲"_s, {}, {}, false, {})));
            b->add(NewsItem::fromRecord(1000, record(u"k2"_s, u"09-05 14:21"_s, u"乙"_s, {}, {}, false, {})));
            b->GetComplete(1000, true);
            b->GetComplete(101, true);
            drain(*b);
            QCOMPARE(changed, QList<int>{1000});
            QVERIFY(file.save({{u"快讯"_s, b->knownKeys(1000)}}));
        }
        PageModel page;
        auto b = board(page);
        b->restoreKnownKeys(1000, file.load().value(u"快讯"_s));
        QCOMPARE(b->task(1000).StrBuffer, u"k1\nk2"_s);
        b->restoreKnownKeys(101, {}); // nothing known: nothing changes
        QCOMPARE(b->task(101).StrBuffer, QString());

        m_folder.writeFile(QLatin1String(KnownKeysFile::FileName), "{\"快讯\": [\"k1\", 7, null], garbage");
        QVERIFY(file.load().isEmpty());
        QVERIFY(file.save({{u"快讯"_s, {u"k3"_s}}}));
        QCOMPARE(file.load().value(u"快讯"_s), QStringList{u"k3"_s});
    }

    void aFailedTaskIsReportedAndTheNextGoesOn()
    {
        PageModel page;
        auto b = board(page);
        QList<std::pair<int, int>> failures;
        b->onFailure([&failures](int step, int number) { failures.append({step, number}); });
        b->add(message(104, u"10:00"_s, u"页面出错"_s, QString()));
        b->add(message(104, u"10:01"_s, u"正常"_s, QString()));
        b->GetComplete(104, true);
        drain(*b);
        QCOMPARE(failures, (QList<std::pair<int, int>>{{NewsBoard::ItemStep, NewsBoard::InvalidCallError}}));
        QCOMPARE(page.row(u"iHeXunNews_Table"_s, 0).title, u"正常"_s);
        QCOMPARE(page.sorts, 1);
        QVERIFY(!b->task(104).Working);
    }

    // The ticker bar gets the newest all-news row of a pass that brought news.
    void aPassWithNewsHandsOnItsNewestRow()
    {
        PageModel page;
        auto b = board(page);
        QList<NewsRow> handed;
        b->onNewest([&handed](const NewsRow &row) { handed << row; });
        b->add(message(103, u"09/05 14:31"_s, u"09/05 14:31欧元~欧元<br/><font style='color:#0000FF'>摘要</font>"_s, QString()));
        b->GetComplete(103, true);
        b->GetComplete(101, false); // nothing new: nothing handed on
        drain(*b);
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed.front().title, u"欧元"_s);
        QCOMPARE(handed.front().label, u" - DailyFX"_s); // the bar shows time, title and label
        QCOMPARE(handed.front().time, u"09/05 14:31"_s);
    }

    // Items of an earlier run come back as rows, without popups and without
    // being reported again; an item shown as news is reported with its key.
    void restoredRowsAreShownNotReported()
    {
        PageModel page;
        auto b = board(page);
        QStringList reported;
        b->onReported([&reported](const NewsSource &source, const QString &key, const NewsRow &row, const QStringList &) {
            reported << source.name + u'|' + key + u'|' + row.title;
        });
        NewsRow old;
        old.time = u"09/05 14:00"_s;
        old.title = u"旧闻"_s;
        b->restore(103, old);
        b->restore(999, old); // a source no longer there
        QCOMPARE(page.row(u"iDailyFXNews_Table"_s, 0).title, u"旧闻"_s);
        QCOMPARE(page.row(NewsView::AllNews, 0).label, u" - DailyFX"_s);
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 1);
        QVERIFY(page.popups.isEmpty());
        QVERIFY(reported.isEmpty());
        b->add(message(103, u"09/05 14:31"_s, u"09/05 14:31欧元~欧元<br/><font style='color:#0000FF'>摘要</font>"_s, QString()));
        b->GetComplete(103, true);
        drain(*b);
        QCOMPARE(reported, QStringList{u"DailyFX|09/05 14:31欧元|欧元"_s});
        QCOMPARE(page.popups, QStringList{u"欧元"_s});
    }

    // One row per story: titles the same once normalised, or nearly the same,
    // within half an hour, fold; different stories, other figures and late
    // repeats do not.
    void storiesFold_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("minutesApart");
        QTest::addColumn<bool>("folds");
        QTest::newRow("brackets and punctuation") << u"【快讯】美联储宣布加息25个基点！"_s << u"美联储宣布加息25个基点"_s << 3 << true;
        QTest::newRow("full and half width") << u"ＣＰＩ年率升至３．５％"_s << u"cpi年率升至3.5%"_s << 5 << true;
        QTest::newRow("nearly the same") << u"欧洲央行维持三大利率不变，拉加德称通胀前景仍存在不确定性"_s
                                         << u"欧洲央行维持三大利率不变,拉加德称通胀前景存在不确定性"_s << 10 << true;
        QTest::newRow("nearly the same, figures written otherwise") << u"【快讯】美国12月密歇根大学消费者信心指数初值74.0，预期73.2"_s
                                                                    << u"美国12月密歇根大学消费者信心指数初值74，预期73.2"_s << 1 << true;
        QTest::newRow("nearly the same, other figures") << u"美国11月CPI年率公布为2.9%，市场预期为3.0%，前值为2.8%"_s
                                                        << u"美国11月CPI年率公布为3.1%，市场预期为3.0%，前值为2.8%"_s << 2 << false;
        QTest::newRow("another story") << u"美国非农就业人数大增"_s << u"美国非农就业人数低于预期"_s << 1 << false;
        QTest::newRow("too late") << u"美联储宣布加息25个基点"_s << u"美联储宣布加息25个基点"_s << 31 << false;
    }
    void storiesFold()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, minutesApart);
        QFETCH(bool, folds);
        StoryFolder stories;
        const QDateTime at(QDate(2026, 12, 8), QTime(10, 0));
        QVERIFY(!stories.fold(1, first, u"FX168"_s, at));
        const std::optional<StoryFolder::Story> seen = stories.fold(2, second, u"和讯"_s, at.addSecs(minutesApart * 60));
        QCOMPARE(seen.has_value(), folds);
        if (folds) {
            QCOMPARE(seen->id, 1);
            QCOMPARE(seen->others, QStringList{u"和讯"_s});
        }
    }

    // The board: the story once in the all-news table, naming the other
    // source, once in the popup, and in each source's own table.
    void aStoryFromTwoSourcesIsOneAllNewsRow()
    {
        PageModel page;
        auto b = board(page);
        b->add(message(101, u"12-08 10:00"_s, u"美联储宣布加息25个基点"_s, u"http://f.example.cn/1"_s));
        b->add(message(104, u"12-08 10:02"_s, u"【快讯】美联储宣布加息25个基点！"_s, u"http://h.example.cn/1"_s));
        b->GetComplete(101, true);
        b->GetComplete(104, true);
        drain(*b);
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 1);
        QCOMPARE(page.tables.value(u"iFX168News_Table"_s).size(), 1);
        QCOMPARE(page.tables.value(u"iHeXunNews_Table"_s).size(), 1);
        QCOMPARE(page.popups, QStringList{u"美联储宣布加息25个基点"_s});
        const QString mark = page.row(NewsView::AllNews, 0).storyMark;
        QVERIFY(!mark.isEmpty());
        QCOMPARE(page.notes.value(mark), u"另见: 和讯"_s);
    }

    // Keyword alerts: any word of a rule finds an item, its exclusions rule
    // it out, its sources limit it; case, width and Traditional or Simplified
    // forms do not count, and what is marked is the text as written; "重要:"
    // finds the feeds' important items; a rule switched off finds nothing.
    void alertRulesFindTheirItems_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("important");
        QTest::addColumn<QString>("found"); // the words found; empty: no alert
        QTest::addColumn<QString>("marks"); // the texts marked
        QTest::newRow("any word") << u"Words=\"非农 央行\""_s << u"日本央行维持利率不变, 央行"_s << false << u"央行"_s << u"央行"_s;
        QTest::newRow("no word") << u"Words=\"非农\""_s << u"日本央行维持利率不变"_s << false << QString() << QString();
        QTest::newRow("an exclusion") << u"Words=\"非农\" Except=\"预告\""_s << u"非农数据预告"_s << false << QString() << QString();
        QTest::newRow("exclusion by form") << u"Words=\"非农\" Except=\"預告\""_s << u"非农数据预告"_s << false << QString() << QString();
        QTest::newRow("width and case") << u"Words=\"cpi\""_s << u"美国ＣＰＩ年率, Cpi"_s << false << u"cpi"_s << u"ＣＰＩ,Cpi"_s;
        QTest::newRow("traditional text") << u"Words=\"美联储\""_s << u"【快訊】美聯儲宣佈加息"_s << false << u"美联储"_s << u"美聯儲"_s;
        QTest::newRow("traditional word") << u"Words=\"聯儲 歐元\""_s << u"美联储讲话后欧元走高"_s << false << u"聯儲 歐元"_s << u"联储,欧元"_s;
        QTest::newRow("its source") << u"Words=\"非农\" Sources=\"汇通网，fx168\""_s << u"非农大增"_s << false << u"非农"_s << u"非农"_s;
        QTest::newRow("another source") << u"Words=\"非农\" Sources=\"HeXun\""_s << u"非农大增"_s << false << QString() << QString();
        QTest::newRow("the importance mark") << u"Words=\"重要:\""_s << u"普通标题"_s << true << u"重要:"_s << QString();
        QTest::newRow("switched off") << u"Words=\"非农\" Checked=\"0\""_s << u"非农大增"_s << false << QString() << QString();
    }
    void alertRulesFindTheirItems()
    {
        QFETCH(QString, rule);
        QFETCH(QString, title);
        QFETCH(bool, important);
        QFETCH(QString, found);
        QFETCH(QString, marks);
        cls_Config config(&m_sink);
        config.setXmlFile(m_folder.writeFile(u"alerts.xml"_s,
                                             (u"<App><Settings><Tavrin><Alerts><Alert "_s + rule + u" Sound=\"ding.wav\"/></Alerts></Tavrin></Settings></App>"_s).toUtf8()));
        QVERIFY(config.Initialize());
        AlertRules rules;
        rules.load(config);
        const std::optional<AlertRules::Match> match = rules.match(u"FX168"_s, title, QString(), important);
        QCOMPARE(match ? match->words.join(u' ') : QString(), found);
        QCOMPARE(match ? match->marks.join(u',') : QString(), marks);
        if (match)
            QCOMPARE(match->sound, u"ding.wav"_s);
    }

    // The board: an alert's row stands out in every table and it alerts once
    // per story, with the rule's sound, instead of the plain popup.
    void anAlertFiresOncePerStory()
    {
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin"_s, u"Alerts"_s));
        QVERIFY(m_config.CreateNode(u"Settings/Tavrin/Alerts"_s, u"Alert"_s));
        QVERIFY(m_config.CreateAttrib(u"Settings/Tavrin/Alerts/Alert"_s, u"Words"_s, u"加息"_s));
        QVERIFY(m_config.CreateAttrib(u"Settings/Tavrin/Alerts/Alert"_s, u"Sound"_s, u"ding.wav"_s));
        PageModel page;
        auto b = board(page);
        b->ApplySourceSettings(m_config);
        b->add(message(101, u"12-08 10:00"_s, u"美联储宣布加息25个基点"_s, {}));
        b->add(message(104, u"12-08 10:01"_s, u"【快讯】美联储宣布加息25个基点"_s, {}));
        b->add(message(101, u"12-08 10:02"_s, u"欧元走强"_s, {}));
        b->GetComplete(101, true);
        b->GetComplete(104, true);
        drain(*b);
        QCOMPARE(page.alerts, QStringList{u"美联储宣布加息25个基点|ding.wav|加息"_s});
        QVERIFY(page.notifications.at(0).untilClosed && page.notifications.at(0).evenWhenOff);
        QCOMPARE(page.popups, QStringList{u"欧元走强"_s});
        QVERIFY(page.row(NewsView::AllNews, 1).alert);
        QVERIFY(!page.row(NewsView::AllNews, 0).alert);
        QVERIFY(page.row(u"iHeXunNews_Table"_s, 0).alert);
    }

    void marks()
    {
        PageModel page;
        auto b = board(page);
        b->ApplySourceSettings(m_config);
        b->add(message(101, u"10:00"_s, u"a"_s, QString()));
        b->GetError(101, u"第一 <b>"_s);
        b->GetError(101, u"second"_s); // one mark, the first message
        b->GetError(102, u"Request LinkExecute"_s);
        const NewsView::Failure second{102, u"汇通网外汇新闻"_s, u"Request LinkExecute"_s};
        QCOMPARE(page.failures, (QList<NewsView::Failure>{{101, u"FX168汇市讯息"_s, u"第一 <b>"_s}, second}));
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 0); // the item is still queued
        b->GetTimeout(101);
        QCOMPARE(page.timeouts, QStringList{u"FX168汇市讯息"_s});

        // One completion clears both marks of its source; the other source's stays.
        b->GetComplete(101, false);
        drain(*b);
        QCOMPARE(page.tables.value(NewsView::AllNews).size(), 1);
        QCOMPARE(page.failures, QList<NewsView::Failure>{second});
        QVERIFY(b->task(101).iError); // other marks remain on the line
        QVERIFY(page.timeouts.isEmpty());
        QVERIFY(!b->task(101).Timeout);

        // Settings applied: the line empties, the flag stays, no new mark for that source.
        b->ApplySourceSettings(m_config);
        QVERIFY(page.failures.isEmpty());
        QVERIFY(b->task(102).iError);
        b->GetComplete(102, false);
        drain(*b);
        QVERIFY(b->task(102).iError);
        b->GetError(102, u"again"_s);
        QVERIFY(page.failures.isEmpty());
    }

    void timeKeysSortByTime_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("later");
        QTest::addColumn<QDateTime>("now"); // Beijing time
        const QTimeZone beijing(8 * 3600);
        const QDateTime afternoon(QDate(2026, 9, 5), QTime(15, 0), beijing);
        QTest::newRow("padding differs") << "9/5 14:30" << "09/05 14:31" << afternoon;
        QTest::newRow("month change") << "08/31 23:59" << "9/1 0:05" << afternoon;
        QTest::newRow("dashes") << "09-05 08:00" << "9/5 9:00" << afternoon;
        QTest::newRow("time only is today") << "09/04 23:00" << "14:30" << afternoon;
        const QDateTime afterMidnight(QDate(2026, 9, 6), QTime(0, 3), beijing);
        QTest::newRow("before midnight, fetched after it") << "23:58" << "0:01" << afterMidnight;
        QTest::newRow("a dated item before a time-only one") << "09/05 23:50" << "00:02" << afterMidnight;
        const QDateTime newYear(QDate(2027, 1, 1), QTime(0, 5), beijing);
        QTest::newRow("December before January") << "12/31 23:59" << "1/1 0:01" << newYear;
        QTest::newRow("a later day of the month is last year's") << "12/31 10:00" << "01/01 00:04" << newYear;
    }
    void timeKeysSortByTime()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, later);
        QFETCH(QDateTime, now);
        QVERIFY2(NewsBoard::timeKey(earlier, now) < NewsBoard::timeKey(later, now),
                 qPrintable(NewsBoard::timeKey(earlier, now) + u' ' + NewsBoard::timeKey(later, now)));
        // Whatever zone the user's clock shows, the same instant gives the same keys.
        const QDateTime elsewhere = now.toOffsetFromUtc(-5 * 3600);
        QCOMPARE(NewsBoard::timeKey(later, elsewhere), NewsBoard::timeKey(later, now));
    }

    void timeKeysCarryTheYear()
    {
        const QDateTime now(QDate(2027, 1, 1), QTime(0, 5), QTimeZone(8 * 3600));
        QCOMPARE(NewsBoard::timeKey(u"12/31 23:59"_s, now), u"202612312359"_s);
        QCOMPARE(NewsBoard::timeKey(u"0:03"_s, now), u"202701010003"_s);
        QCOMPARE(NewsBoard::timeKey(u"13/45 10:00"_s, now), u"000013/45 10:00"_s); // no such day
    }

    // DailyFX items come as key "~" display part, the display part escaped by
    // the worker with "~" as an entity: the key ends at the last "~", and
    // nothing in the display part becomes markup.
    void compositeItemsSplitAtTheLastTilde_data()
    {
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("summary");
        QTest::newRow("plain") << u"09/05 9:55美元~美元"_s << u"09/05 9:55美元"_s << u"美元"_s << QString();
        QTest::newRow("price range") << u"09/05 9:55区间1.0800~1.0850~区间1.0800&#126;1.0850"_s
                                     << u"09/05 9:55区间1.0800~1.0850"_s << u"区间1.0800~1.0850"_s << QString();
        QTest::newRow("escaped markup stays text")
            << u"09/05 9:55x~&lt;img src=x onerror=alert(1)&gt;<br/><font style='color:#0000FF'>&amp;lt;b&amp;gt;</font>"_s
            << u"09/05 9:55x"_s << u"<img src=x onerror=alert(1)>"_s << u"&lt;b&gt;"_s;
        QTest::newRow("markup the worker never writes shows as it came")
            << u"09/05 9:55x~<img src=x>"_s << u"09/05 9:55x"_s << u"<img src=x>"_s << QString();
    }
    void compositeItemsSplitAtTheLastTilde()
    {
        QFETCH(QString, info);
        QFETCH(QString, key);
        QFETCH(QString, title);
        QFETCH(QString, summary);
        PageModel page;
        auto b = board(page);
        b->add(message(103, u"09/05 9:55"_s, info, QString()));
        drain(*b);
        const NewsRow row = page.row(u"iDailyFXNews_Table"_s, 0);
        QCOMPARE(row.title, title);
        QCOMPARE(row.summary, summary);
        QCOMPARE(b->task(103).StrBuffer, key + u';');
    }
};

QTEST_GUILESS_MAIN(tst_NewsBoard)
#include "tst_NewsBoard.moc"
