#include "calendar/CalendarBook.h"
#include "calendar/CalendarCountdown.h"
#include "calendar/CalendarPageText.h"
#include "core/FetchSchedule.h"
#include "core/TextEncoding.h"
#include "core/cls_Config.h"
#include "support/RecordingMessageSink.h"
#include "support/TempProgramFolder.h"

#include <QTest>
#include <QTimeZone>

#include <memory>

using namespace Qt::StringLiterals;
using Row = CalendarPageText::Row;
using Control = CalendarItemView::Control;

namespace {

// What the calendar asked of its page and of the desktop.
struct RecordingView : CalendarView
{
    QHash<int, QList<CalendarItemView>> days;
    int drawn = 0; // tables drawn
    QHash<int, QList<std::pair<QString, QString>>> events;
    QStringList balloons; // title + ": " + text
    QStringList reminders;
    QStringList sounds;
    QHash<QString, Control> controls; // "day/item"
    QHash<int, QString> titles;
    QList<int> today;
    QList<std::pair<int, int>> tabs;

    void showDay(int weekIndex, const QList<std::pair<QString, QString>> &list, const QList<CalendarItemView> &items) override
    {
        ++drawn;
        events[weekIndex] = list;
        days[weekIndex] = items;
        for (qsizetype i = 0; i < items.size(); ++i)
            controls[u"%1/%2"_s.arg(weekIndex).arg(i + 1)] = items.at(i).control;
    }
    void selectDayTab(int previous, int weekIndex) override { tabs.append({previous, weekIndex}); }
    void markToday(int weekIndex, bool on) override
    {
        if (on)
            today << weekIndex;
        else
            today.removeAll(weekIndex);
    }
    void setDayTitle(int weekIndex, const QString &title) override { titles[weekIndex] = title; }
    void setControl(int weekIndex, int itemNumber, Control control) override
    {
        controls[u"%1/%2"_s.arg(weekIndex).arg(itemNumber)] = control;
    }
    void balloon(const QString &text, const QString &title) override { balloons << title + u": "_s + text; }
    void reminder(const QString &text) override { reminders << text; }
    void playSystemSound(const QString &alias) override { sounds << alias; }
};

// A moment of Beijing time, as the user's clock (in another zone) gives it.
QDateTime beijing(int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second), QTimeZone(8 * 3600)).toLocalTime();
}

} // namespace

// The calendar on the fake clock, in a time zone far from China (the test
// runs with TZ=America/Los_Angeles), with pages served from memory.
class tst_CalendarBook : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_folder;
    RecordingMessageSink m_sink;
    std::unique_ptr<cls_Config> m_config;
    std::unique_ptr<FetchSchedule> m_schedule;
    std::unique_ptr<RecordingView> m_view;
    std::unique_ptr<CalendarBook> m_book;
    QHash<QString, QString> m_pages; // address -> page text
    QDateTime m_now;

    void make(const QDateTime &now)
    {
        m_config = std::make_unique<cls_Config>(&m_sink);
        m_config->setXmlFile(m_folder.copyDefaultConfig());
        QVERIFY(m_config->Initialize());
        m_sink.clear();
        m_schedule = std::make_unique<FetchSchedule>();
        m_view = std::make_unique<RecordingView>();
        m_book = std::make_unique<CalendarBook>(*m_view, *m_config, *m_schedule, u"http://cal.test"_s);
        m_pages.clear();
        m_now = now;
    }
    void serve(const QDate &date, const QList<Row> &rows) { m_pages[m_book->dayAddress(date)] = CalendarPageText::page(rows); }
    static QByteArray gbk(const QString &text) { return *TextEncoding::convert(text.toUtf8(), "UTF-8", "GB18030"); }
    // Scheduler seconds: due tasks are answered at once from the pages served.
    void seconds(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_now = m_now.addSecs(1);
            for (const QString &key : m_schedule->tick()) {
                const QString link = m_schedule->task(key).Link;
                m_book->downloadComplete(key, link, gbk(m_pages.value(link)), m_pages.contains(link), m_now);
            }
        }
    }
    // A ready week of five days with these rows on every day.
    void readyWeek(const QDateTime &now, const QList<Row> &rows)
    {
        make(now);
        const QDate monday = CalendarBook::weekMonday(CalendarBook::calendarTime(now).date());
        for (int day = 0; day < 5; ++day)
            serve(monday.addDays(day), rows);
        m_book->start(m_now);
        seconds(1);
        QVERIFY(m_book->CalendarReady());
        m_view->balloons.clear();
    }
    QList<CalendarWeekStore::Item> items(int day) { return m_book->store().items(day); }
    QStringList choices(int day)
    {
        QStringList out;
        for (const auto &item : items(day))
            out << item.info + item.notify;
        return out;
    }
    void answer(const QString &key, const QString &page)
    {
        const QString link = m_schedule->task(key).Link;
        m_book->downloadComplete(key, link, gbk(page), true, m_now);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(QDateTime(QDate(2026, 12, 7), QTime(12, 0)).offsetFromUtc() != 8 * 3600); }

    void theWeekInUse_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDate>("monday");
        QTest::addColumn<int>("todayIndex");
        // 9 a.m. in Beijing is still the day before in Los Angeles.
        QTest::newRow("Monday") << beijing(12, 7, 9, 0) << QDate(2026, 12, 7) << 1;
        QTest::newRow("Wednesday") << beijing(12, 9, 23, 30) << QDate(2026, 12, 7) << 3;
        QTest::newRow("Friday") << beijing(12, 11, 0, 10) << QDate(2026, 12, 7) << 5;
        QTest::newRow("Saturday") << beijing(12, 12, 12, 0) << QDate(2026, 12, 7) << 6;
        QTest::newRow("Sunday") << beijing(12, 13, 22, 0) << QDate(2026, 12, 7) << 0;
    }
    void theWeekInUse()
    {
        QFETCH(QDateTime, now);
        QFETCH(QDate, monday);
        QFETCH(int, todayIndex);
        make(now);
        m_book->start(m_now);
        QCOMPARE(m_book->CalendarWeekStart(), monday);
        QCOMPARE(m_book->TodayIndex(), todayIndex);
        QVERIFY(!m_book->CalendarReady());
        QCOMPARE(m_schedule->task(u"Calendar1"_s).Link, u"http://cal.test/indexs/ecalendar.asp?date=2026-12-7"_s);
        QCOMPARE(m_schedule->task(u"Calendar5"_s).Link, u"http://cal.test/indexs/ecalendar.asp?date=2026-12-11"_s);
        QCOMPARE(m_view->balloons.size(), 1);
        QVERIFY(m_view->balloons.front().startsWith(u"从"_s));
        QVERIFY(m_view->balloons.front().endsWith(u": 正在获取本周的财经事件!"_s));
        QCOMPARE(m_view->today, todayIndex >= 1 && todayIndex <= 5 ? QList<int>{todayIndex} : QList<int>{});
        // On a weekday its tab is chosen; at the weekend none is.
        QCOMPARE(m_book->ShownDay(), todayIndex >= 1 && todayIndex <= 5 ? todayIndex : 0);
    }

    void theFiveDaysLoadAndTheWeekIsReady()
    {
        make(beijing(12, 8, 8, 0));
        const QList<Row> rows{{u"00:30"_s, u"澳洲零售"_s, u"0.1%"_s, u"0.2%"_s, QString(), u"中"_s},
                              {u"21:30"_s, u"美国CPI"_s, u"0.2%"_s, u"0.3%"_s, QString(), u"高"_s}};
        for (int day = 0; day < 5; ++day)
            serve(QDate(2026, 12, 7).addDays(day), rows);
        m_pages.remove(m_book->dayAddress(QDate(2026, 12, 9))); // Wednesday's page fails at first
        m_book->start(m_now);
        seconds(1);
        QVERIFY(!m_book->CalendarReady());
        QVERIFY(m_view->sounds.isEmpty());
        serve(QDate(2026, 12, 9), rows);
        seconds(60); // fetched again a minute later
        QVERIFY(m_book->CalendarReady());
        QCOMPARE(m_view->sounds, QStringList{u"SystemAsterisk"_s});
        QCOMPARE(m_view->balloons.last(), u"财经日历: 本周的财经日历更新成功! "_s);
        QCOMPARE(items(3).size(), 2);
        QCOMPARE(items(3).front().time, u"00:30"_s);
        QCOMPARE(items(3).front().notify, u"1"_s);
        QCOMPARE(m_view->days.value(2).size(), 2); // today's table was drawn
        QCOMPARE(m_view->events.value(2).front(), (std::pair<QString, QString>{u"00:30"_s, u"澳洲零售"_s}));
        QVERIFY(m_sink.messages().isEmpty());
    }

    // NotifyTime 5, an event at 10:00: queued at the scan of 09:54:xx, shown at 09:55:00.
    // The header's countdown: the next event of today not yet passed, across
    // the day and at its end, in Beijing time whatever the user's zone.
    void theCountdownNamesTheNextEventOfToday_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("left");
        QTest::newRow("morning") << beijing(12, 8, 9, 47, 30) << u"10:00"_s << u"美国CPI"_s << u"还有 12分30秒"_s;
        QTest::newRow("last seconds") << beijing(12, 8, 9, 59, 15) << u"10:00"_s << u"美国CPI"_s << u"还有 45秒"_s;
        QTest::newRow("at the minute: the next one") << beijing(12, 8, 10, 0) << u"21:30"_s << u"非农就业"_s
                                                     << u"还有 11小时30分00秒"_s;
        QTest::newRow("after the last") << beijing(12, 8, 21, 30, 1) << QString() << CalendarCountdown::AllPublished << QString();
        QTest::newRow("Saturday") << beijing(12, 12, 9, 0) << QString() << CalendarCountdown::AllPublished << QString();
    }
    void theCountdownNamesTheNextEventOfToday()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, time);
        QFETCH(QString, text);
        QFETCH(QString, left);
        readyWeek(beijing(12, 8, 8, 0), {{u"21:30"_s, u"非农就业"_s, {}, {}, {}, u"高"_s},
                                          {u"待定"_s, u"央行讲话"_s, {}, {}, {}, {}},
                                          {u"10:00"_s, u"美国CPI"_s, {}, {}, {}, u"中"_s}});
        QCOMPARE(m_book->countdown(now), (CalendarCountdown{time, text, left}));
    }

    // The importance filter hides rows below it on every day, is stored, and
    // leaves their reminders as they were.
    void theFilterHidesRowsButNotTheirReminders()
    {
        readyWeek(beijing(12, 8, 9, 50), {{u"10:00"_s, u"低事件"_s, {}, {}, {}, u"低"_s},
                                           {u"10:00"_s, u"中事件"_s, {}, {}, {}, u"中"_s},
                                           {u"10:00"_s, u"高事件"_s, {}, {}, {}, u"高"_s}});
        m_book->SelectWeekTab(2, m_now);
        auto filtered = [this](int day) {
            QList<bool> out;
            for (const CalendarItemView &item : m_view->days.value(day))
                out << item.filtered;
            return out;
        };
        QCOMPARE(filtered(2), (QList<bool>{false, false, false}));
        m_book->setMinImportance(2, m_now);
        QCOMPARE(filtered(2), (QList<bool>{true, true, false}));
        QCOMPARE(m_config->GetNodeAttrib(u"Settings/Tavrin/FXCalendar"_s, u"MinImportance"_s), u"2"_s);
        m_book->SelectWeekTab(3, m_now);
        QCOMPARE(filtered(3), (QList<bool>{true, true, false}));
        m_book->setMinImportance(1, m_now);
        QCOMPARE(filtered(3), (QList<bool>{true, false, false}));
        m_book->setMinImportance(7, m_now); // out of range: the highest
        QCOMPARE(m_book->minImportance(), 2);

        m_now = beijing(12, 8, 9, 55);
        m_book->calcTick(m_now);
        m_book->notifyTick(m_now);
        QCOMPARE(m_view->reminders.size(), 1);
        QVERIFY(m_view->reminders.front().contains(u"低事件"_s));
    }

    // "本周": the five days in one table, each item with its own day; its
    // reminder boxes act on their own day's items.
    void theWholeWeekShowsInOneTable()
    {
        readyWeek(beijing(12, 8, 9, 0), {{u"10:00"_s, u"美国CPI"_s, {}, {}, {}, u"高"_s},
                                          {u"21:30"_s, u"非农就业"_s, {}, {}, {}, u"低"_s}});
        m_book->setMinImportance(1, m_now);
        m_book->SelectWeekTab(CalendarBook::WholeWeek, m_now);
        QCOMPARE(m_book->ShownDay(), CalendarBook::WholeWeek);
        const QList<CalendarItemView> rows = m_view->days.value(CalendarBook::WholeWeek);
        QCOMPARE(rows.size(), 10);
        QCOMPARE(m_view->events.value(CalendarBook::WholeWeek), (QList<std::pair<QString, QString>>{}));
        QStringList places;
        for (const CalendarItemView &row : rows)
            places << u"%1/%2%3"_s.arg(row.day).arg(row.number).arg(row.filtered ? u"-"_s : QString());
        QCOMPARE(places, (QStringList{u"1/1"_s, u"1/2-"_s, u"2/1"_s, u"2/2-"_s, u"3/1"_s, u"3/2-"_s, u"4/1"_s, u"4/2-"_s,
                                      u"5/1"_s, u"5/2-"_s}));
        QCOMPARE(rows.at(0).control, Control::Over);            // Monday is over
        QCOMPARE(rows.at(4).control, Control::CheckedCheckbox); // Wednesday is ahead
        m_book->controlClicked(3, 2, false, m_now);
        QCOMPARE(items(3).at(1).notify, u"0"_s);
    }

    void aReminderComesAtItsMinute()
    {
        readyWeek(beijing(12, 8, 9, 50), {{u"10:00"_s, u"美国CPI"_s, u"0.2%"_s, u"0.3%"_s, QString(), u"高"_s},
                                           {u"10:00"_s, u"美国零售"_s, QString(), QString(), QString(), QString()},
                                           {u"10:00"_s, u"未选"_s, QString(), QString(), QString(), QString()}});
        m_book->controlClicked(2, 3, false, m_now); // the user leaves one out
        QCOMPARE(items(2).at(2).notify, u"0"_s);
        m_book->calcTick(m_now);
        QVERIFY(!m_book->reminderQueued()); // 10 minutes ahead: not yet
        m_now = beijing(12, 8, 9, 54, 20);
        m_book->calcTick(m_now);
        QVERIFY(m_book->reminderQueued());
        QCOMPARE(m_book->reminderDue(), beijing(12, 8, 9, 55));
        QCOMPARE(items(2).at(0).notify, u"2"_s);
        QCOMPARE(items(2).at(1).notify, u"2"_s);
        QCOMPARE(items(2).at(2).notify, u"0"_s);
        QCOMPARE(m_view->controls.value(u"2/1"_s), Control::GivenCheckbox);
        m_book->notifyTick(beijing(12, 8, 9, 54, 59));
        QVERIFY(m_view->reminders.isEmpty());
        m_book->notifyTick(beijing(12, 8, 9, 55, 0));
        // Two events of one minute: one popup, one balloon, two lines.
        QCOMPARE(m_view->reminders, QStringList{u"10:00  美国CPI (前值: 0.2% 市场预测: 0.3% 重要: 高)\r\n10:00  "_s});
        QCOMPARE(m_view->balloons, QStringList{u"财经事件提醒!: "_s + m_view->reminders.front()});
        // Never again, not even after another scan.
        m_book->calcTick(beijing(12, 8, 9, 58));
        m_book->notifyTick(beijing(12, 8, 9, 59));
        QCOMPARE(m_view->reminders.size(), 1);
        QVERIFY(m_sink.messages().isEmpty()); // NotifyTime comes from the settings, without a box
    }

    void aReminderInsideItsLeadShowsAtOnce()
    {
        readyWeek(beijing(12, 8, 9, 58), {{u"10:00"_s, u"加息决议"_s, QString(), QString(), QString(), u"高"_s}});
        m_book->calcTick(m_now);
        QCOMPARE(m_view->reminders.size(), 1);
        QCOMPARE(m_view->balloons, QStringList{u"财经事件提醒: 10:00  加息决议 (重要: 高)"_s});
        QCOMPARE(m_book->calcInterval(), CalendarBook::SlowScanMs);
        m_book->calcTick(beijing(12, 8, 9, 59, 10));
        QCOMPARE(m_book->calcInterval(), CalendarBook::FastScanMs); // a minute or less away
    }

    void resultsArriveAndPollingStops_data()
    {
        QTest::addColumn<bool>("published");
        QTest::newRow("published") << true;
        QTest::newRow("never published") << false;
    }
    void resultsArriveAndPollingStops()
    {
        QFETCH(bool, published);
        const Row row{u"10:00"_s, u"美国CPI"_s, u"0.2%"_s, u"0.3%"_s, QString(), u"高"_s};
        readyWeek(beijing(12, 8, 9, 59), {row});
        m_now = beijing(12, 8, 10, 0, 5);
        m_book->calcTick(m_now);
        QCOMPARE(items(2).front().result, u"?"_s);
        QCOMPARE(m_view->controls.value(u"2/1"_s), Control::Over);
        QVERIFY(m_schedule->task(CalendarBook::resultKey()).Enabled);
        if (published) {
            // The page that brings the result also revises the previous value.
            Row out = row;
            out.result = u"0.5%"_s;
            out.before = u"0.1%"_s;
            serve(QDate(2026, 12, 8), {out});
        }
        seconds(10 * 40); // ten-second polls for up to six minutes and more
        QCOMPARE(items(2).front().result, published ? u"0.5%"_s : QString());
        QVERIFY(!m_schedule->task(CalendarBook::resultKey()).Enabled);
        if (published) {
            QCOMPARE(m_view->balloons, QStringList{u"财经数据 10:00: 美国CPI (前值: 0.1% 市场预测: 0.3% 结果: 0.5% 高于预期)"_s});
            m_book->SelWeek(2, m_now);
            const CalendarItemView shown = m_view->days.value(2).front();
            QCOMPARE(shown.surprise, ReleaseValue::Surprise::Above);
            QCOMPARE(shown.before, u"0.1%"_s);
            QCOMPARE(shown.revisedFrom, u"0.2%"_s);
        } else {
            QVERIFY(m_view->balloons.isEmpty());
        }
    }

    void aDayThatChangesKeepsTheRemindersByEvent()
    {
        readyWeek(beijing(12, 7, 8, 0), {{u"20:00"_s, u"甲"_s, {}, {}, {}, {}}, {u"21:00"_s, u"乙"_s, {}, {}, {}, {}},
                                         {u"22:00"_s, u"丙"_s, {}, {}, {}, {}}});
        m_book->SelectWeekTab(4, m_now);
        m_book->controlClicked(4, 1, false, m_now);
        m_book->store().setItemAttribute(4, 1, "Notify", u"2"_s);
        // The page gains a row: the day is rebuilt, the choices stay with their events.
        serve(QDate(2026, 12, 10), {{u"19:00"_s, u"新"_s, {}, {}, {}, {}}, {u"20:00"_s, u"甲"_s, {}, {}, {}, {}},
                                    {u"21:00"_s, u"乙"_s, {}, {}, {}, {}}, {u"22:00"_s, u"丙"_s, {}, {}, {}, {}}});
        const QString link = m_schedule->task(u"Calendar4"_s).Link;
        m_book->downloadComplete(u"Calendar4"_s, link, gbk(m_pages.value(link)), true, m_now);
        QStringList notify;
        for (const auto &item : items(4))
            notify << item.info + item.notify;
        QCOMPARE(notify, (QStringList{u"新1"_s, u"甲0"_s, u"乙2"_s, u"丙1"_s}));
        // Merged in place: a revised value, nothing else touched.
        serve(QDate(2026, 12, 10), {{u"19:00"_s, u"新"_s, {}, {}, {}, {}}, {u"20:00"_s, u"甲"_s, u"1.0"_s, {}, {}, {}},
                                    {u"21:00"_s, u"乙"_s, {}, {}, {}, {}}, {u"22:00"_s, u"丙"_s, {}, {}, {}, {}}});
        m_book->downloadComplete(u"Calendar4"_s, link, gbk(m_pages.value(link)), true, m_now);
        QCOMPARE(items(4).at(1).before, u"1.0"_s);
        QCOMPARE(items(4).at(1).notify, u"0"_s);
        QCOMPARE(m_view->days.value(4).at(1).before, u"1.0"_s);
    }

    void givenAndPastRemindersNeverChange()
    {
        readyWeek(beijing(12, 8, 12, 0), {{u"09:00"_s, u"早"_s, {}, {}, {}, {}}, {u"18:00"_s, u"晚"_s, {}, {}, {}, {}}});
        m_book->store().setItemAttribute(2, 1, "Notify", u"2"_s);
        m_book->SelWeek(2, m_now);
        QCOMPARE(m_view->days.value(2).at(0).control, Control::Over);
        QCOMPARE(m_view->days.value(2).at(1).control, Control::GivenCheckbox);
        m_book->controlClicked(2, 1, true, m_now);
        m_book->controlClicked(2, 2, false, m_now);
        m_book->remindAll(false, m_now);
        QCOMPARE(items(2).at(0).notify, u"1"_s);
        QCOMPARE(items(2).at(1).notify, u"2"_s);
        // Monday is past: no remind-all; Thursday is to come: every one of its events.
        m_book->SelectWeekTab(1, m_now);
        QVERIFY(!m_book->canRemindAll(m_now));
        m_book->SelectWeekTab(4, m_now);
        QVERIFY(m_book->canRemindAll(m_now));
        m_book->remindAll(false, m_now);
        QCOMPARE(items(4).at(0).notify, u"0"_s);
        QCOMPARE(m_view->controls.value(u"4/2"_s), Control::Checkbox);
    }

    void atTheWeekendEveryDayIsOver()
    {
        readyWeek(beijing(12, 12, 10, 0), {{u"20:00"_s, u"甲"_s, {}, {}, {}, {}}});
        QCOMPARE(m_book->ShownDay(), 0);
        m_book->SelectWeekTab(5, m_now);
        QCOMPARE(m_view->days.value(5).front().control, Control::Over);
        QVERIFY(!m_book->canRemindAll(m_now));
        m_book->calcTick(m_now);
        QVERIFY(!m_book->reminderQueued());
        QVERIFY(m_view->reminders.isEmpty());
    }

    // Friday night becomes Monday: the week starts over, and a page of the old
    // week arriving late is not stored as the new one.
    void theWeekRollsOverAndLatePagesAreDropped()
    {
        readyWeek(beijing(12, 11, 22, 0), {{u"20:00"_s, u"旧"_s, {}, {}, {}, {}}});
        tavrin &monday = *m_schedule->find(u"Calendar1"_s);
        const QString oldLink = monday.Link;
        monday.Working = true; // a download still on its way
        m_now = beijing(12, 14, 7, 0);
        m_book->calcTick(m_now);
        QVERIFY(!m_book->CalendarReady());
        QCOMPARE(m_book->CalendarWeekStart(), QDate(2026, 12, 14));
        QVERIFY(m_view->balloons.last().startsWith(u"财经日历: 正在获取本周的财经日历!\r\n从"_s));
        QCOMPARE(monday.Link, u"http://cal.test/indexs/ecalendar.asp?date=2026-12-14"_s);
        m_book->downloadComplete(u"Calendar1"_s, oldLink, gbk(CalendarPageText::page({{u"20:00"_s, u"旧"_s, {}, {}, {}, {}}})),
                                 true, m_now);
        QVERIFY(items(1).isEmpty());
        QVERIFY(!monday.Working); // so the new week's page goes out
        for (int day = 0; day < 5; ++day)
            serve(QDate(2026, 12, 14).addDays(day), {{u"20:00"_s, u"新"_s, {}, {}, {}, {}}});
        seconds(2);
        QVERIFY(m_book->CalendarReady());
        QCOMPARE(items(1).front().info, u"新"_s);
        QCOMPARE(m_config->GetNodeAttrib(u"FXCalendar"_s, u"DateFrom"_s), u"2026-12-14"_s);
    }

    // Pages that lost their rows (no data block, a data block cut off, a
    // table with its header alone) leave the day and its choices as they were.
    void aPageWithoutRowsNeverWipesADay_data()
    {
        QTest::addColumn<QString>("badPage");
        const QString events = CalendarPageText::eventRow(u"20:00"_s, u"甲"_s);
        const QString data = CalendarPageText::dataRow({u"20:00"_s, u"甲"_s, {}, {}, {}, {}});
        QTest::newRow("no data block") << CalendarPageText::page(events, QString()).replace(u"q_riBR01"_s, u"other"_s);
        QTest::newRow("unbalanced") << CalendarPageText::page(events, data, false).replace(u"</table><div class=\"foot\""_s, u"<div class=\"foot\""_s);
        QTest::newRow("header only") << CalendarPageText::page(events, QString());
    }
    void aPageWithoutRowsNeverWipesADay()
    {
        QFETCH(QString, badPage);
        readyWeek(beijing(12, 7, 8, 0), {{u"20:00"_s, u"甲"_s, {}, {}, {}, {}}, {u"21:00"_s, u"乙"_s, {}, {}, {}, {}},
                                         {u"22:00"_s, u"丙"_s, {}, {}, {}, {}}});
        m_book->SelectWeekTab(4, m_now);
        m_book->controlClicked(4, 1, false, m_now);
        m_book->store().setItemAttribute(4, 1, "Notify", u"2"_s);
        const int drawn = m_view->drawn;
        for (int i = 0; i < 3; ++i)
            answer(u"Calendar4"_s, badPage);
        QCOMPARE(choices(4), (QStringList{u"甲0"_s, u"乙2"_s, u"丙1"_s}));
        QCOMPARE(m_view->drawn, drawn); // nothing changed: nothing drawn
        answer(u"Calendar4"_s, CalendarPageText::page({{u"19:00"_s, u"新"_s, {}, {}, {}, {}}, {u"20:00"_s, u"甲"_s, {}, {}, {}, {}},
                                                      {u"21:00"_s, u"乙"_s, {}, {}, {}, {}}, {u"22:00"_s, u"丙"_s, {}, {}, {}, {}}}));
        QCOMPARE(choices(4), (QStringList{u"新1"_s, u"甲0"_s, u"乙2"_s, u"丙1"_s}));
        QCOMPARE(m_view->drawn, drawn + 1);
    }

    // Polling for a result ends by its rules whatever the pages do, and a "?"
    // stored by an earlier run is asked for once more and then cleared.
    void resultPollingEndsWhateverThePagesDo_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("no answer") << u"fail"_s;
        QTest::newRow("garbage") << u"garbage"_s;
        QTest::newRow("empty") << u"empty"_s;
        QTest::newRow("unchanged page") << u"same"_s;
        QTest::newRow("a ? saved at exit") << u"saved"_s;
    }
    void resultPollingEndsWhateverThePagesDo()
    {
        QFETCH(QString, fault);
        const Row row{u"10:00"_s, u"美国CPI"_s, u"0.2%"_s, u"0.3%"_s, QString(), u"高"_s};
        readyWeek(beijing(12, 8, 9, 59), {row});
        if (fault == u"saved"_s)
            m_book->store().setItemAttribute(2, 0, "Result", u"?"_s);
        const QString today = m_book->dayAddress(QDate(2026, 12, 8));
        if (fault == u"fail"_s)
            m_pages.remove(today);
        else if (fault == u"garbage"_s)
            m_pages[today] = u"<html><body>\x01\x02 503 Service Unavailable"_s;
        else if (fault == u"empty"_s)
            m_pages[today] = QString();
        m_now = beijing(12, 8, 10, 0, 5);
        m_book->calcTick(m_now);
        QVERIFY(m_schedule->task(CalendarBook::resultKey()).Enabled);
        QCOMPARE(items(2).front().result, u"?"_s);
        const int drawn = m_view->drawn;
        int polls = 0;
        for (int i = 0; i < 24 * 60 * 60 && m_schedule->task(CalendarBook::resultKey()).Enabled; ++i) {
            polls += m_schedule->task(CalendarBook::resultKey()).TimeCount == CalendarBook::ResultInterval - 1;
            seconds(1);
        }
        QVERIFY(!m_schedule->task(CalendarBook::resultKey()).Enabled);
        QVERIFY2(polls <= 6 * 60 / CalendarBook::ResultInterval + 1, qPrintable(QString::number(polls)));
        QCOMPARE(items(2).front().result, QString());
        QCOMPARE(m_view->drawn, drawn + 1); // only the "?" going
    }

    // The polling of a new week starts as the first week's did.
    void resultsArePolledAfterTheWeekRollsOver()
    {
        readyWeek(beijing(12, 12, 10, 0), {{u"10:00"_s, u"旧"_s, {}, {}, {}, {}}});
        m_now = beijing(12, 14, 9, 0);
        const Row row{u"10:00"_s, u"新"_s, u"1"_s, u"2"_s, QString(), u"高"_s};
        for (int day = 0; day < 5; ++day)
            serve(QDate(2026, 12, 14).addDays(day), {row});
        m_book->calcTick(m_now);
        seconds(2);
        QVERIFY(m_book->CalendarReady());
        m_book->SelectWeekTab(1, m_now);
        m_now = beijing(12, 14, 10, 0, 5);
        m_book->calcTick(m_now);
        QVERIFY(m_schedule->task(CalendarBook::resultKey()).Enabled);
        Row out = row;
        out.result = u"3"_s;
        serve(QDate(2026, 12, 14), {out});
        seconds(CalendarBook::ResultInterval + 1);
        QCOMPARE(items(1).front().result, u"3"_s);
        QVERIFY(!m_schedule->task(CalendarBook::resultKey()).Enabled);
        QVERIFY(!m_schedule->task(CalendarBook::resultKey()).Working);
        QCOMPARE(m_view->balloons.last(), u"财经数据 10:00: 新 (前值: 1 市场预测: 2 结果: 3 高于预期)"_s);
    }

    // An incomplete week fetched again after a restart: the same event on two
    // days keeps each day's own choice.
    void aWeekFetchedAgainKeepsEachDaysChoices()
    {
        make(beijing(12, 8, 8, 0));
        CalendarWeekStore &store = m_book->store();
        store.setDateFrom(QDate(2026, 12, 7));
        store.AddFXCalendar(1, u"20:00"_s, u"甲"_s, {}, {}, {}, {}, {}, u"0"_s);
        store.AddFXCalendar(2, u"20:00"_s, u"甲"_s, {}, {}, {}, {}, {}, u"1"_s);
        store.AddFXCalendar(4, u"20:00"_s, u"甲"_s, {}, {}, {}, {}, {}, u"0"_s); // Wednesday was never stored
        for (int day = 0; day < 5; ++day)
            serve(QDate(2026, 12, 7).addDays(day), {{u"20:00"_s, u"甲"_s, {}, {}, {}, {}}});
        m_book->start(m_now);
        seconds(1);
        QVERIFY(m_book->CalendarReady());
        QStringList notify;
        for (int day = 1; day <= 5; ++day)
            notify << items(day).front().notify;
        QCOMPARE(notify, (QStringList{u"0"_s, u"1"_s, u"1"_s, u"0"_s, u"1"_s}));
    }

    // NotifyTime 5: an event at 00:02 is reminded of at 23:57 the day before.
    void aReminderJustAfterMidnightComesBeforeIt()
    {
        readyWeek(beijing(12, 8, 23, 50), {{u"00:02"_s, u"澳洲就业"_s, {}, {}, {}, u"高"_s}});
        m_book->calcTick(beijing(12, 8, 23, 55));
        QVERIFY(!m_book->reminderQueued());
        m_book->calcTick(beijing(12, 8, 23, 56, 10));
        QVERIFY(m_book->reminderQueued());
        QCOMPARE(m_book->reminderDue(), beijing(12, 8, 23, 57));
        QCOMPARE(items(3).front().notify, u"2"_s);
        QCOMPARE(items(2).front().notify, u"1"_s); // Tuesday's own 00:02 is long over
        m_book->notifyTick(beijing(12, 8, 23, 57));
        QCOMPARE(m_view->reminders, QStringList{u"00:02  澳洲就业 (重要: 高)"_s});
    }

    // An event ticked after its minute's reminder was queued joins that reminder.
    void anEventOfTheSameMinuteJoinsTheWaitingReminder()
    {
        readyWeek(beijing(12, 8, 9, 50), {{u"10:00"_s, u"甲"_s, {}, {}, {}, u"高"_s}, {u"10:00"_s, u"乙"_s, {}, {}, {}, u"中"_s}});
        m_book->controlClicked(2, 2, false, m_now);
        m_book->calcTick(beijing(12, 8, 9, 54, 10));
        QVERIFY(m_book->reminderQueued());
        m_book->controlClicked(2, 2, true, beijing(12, 8, 9, 54, 20));
        m_book->calcTick(beijing(12, 8, 9, 54, 30));
        m_book->notifyTick(beijing(12, 8, 9, 55));
        QCOMPARE(m_view->reminders, QStringList{u"10:00  甲 (重要: 高)\r\n10:00  乙 (重要: 中)"_s});
    }

    void aResultPollEndsAtMidnight()
    {
        readyWeek(beijing(12, 8, 23, 55), {{u"23:58"_s, u"夜盘"_s, {}, {}, {}, {}}});
        m_book->calcTick(beijing(12, 8, 23, 58, 10));
        QVERIFY(m_schedule->task(CalendarBook::resultKey()).Enabled);
        // Tuesday's page, asked before midnight, answers on Wednesday.
        m_now = beijing(12, 9, 0, 1);
        const QString link = m_schedule->task(CalendarBook::resultKey()).Link;
        m_book->downloadComplete(CalendarBook::resultKey(), link,
                                 gbk(CalendarPageText::page({{u"23:58"_s, u"夜盘"_s, {}, {}, u"1"_s, {}}})), true, m_now);
        QVERIFY(!m_schedule->task(CalendarBook::resultKey()).Enabled);
        QCOMPARE(items(2).front().result, QString());
        QVERIFY(items(3).front().result.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CalendarBook)
#include "tst_CalendarBook.moc"
