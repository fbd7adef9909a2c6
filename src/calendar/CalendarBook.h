#pragma once

#include "calendar/CalendarCountdown.h"
#include "calendar/CalendarView.h"
#include "calendar/CalendarWeekStore.h"
#include "core/FetchSchedule.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>

struct CalendarRow;
class cls_Config;
class HtmlDocument;

// The week's economic calendar without a window: the five day pages and the
// result page as tasks of the shared fetch schedule, their parsing into the
// stored week (load, merge in place, rebuild), the week's rollover, the
// polling for published results and the reminders. All of it runs on the
// calendar's own clock, Beijing time (UTC+8), whatever zone the user is in;
// times are stored and shown as the page gives them.
class CalendarBook
{
public:
    static constexpr int DayInterval = 60;
    static constexpr int ResultInterval = 10;
    static constexpr int SlowScanMs = 45000;
    static constexpr int FastScanMs = 1000;
    static constexpr int ResultWaitMinutes = 5;
    // The tab "本周": the five days in one table.
    static constexpr int WholeWeek = 6;
    static QString dayKey(int weekIndex);
    // The reminders' lead time in minutes, as the settings store it.
    static int notifyMinutes(const cls_Config &config);
    static QString resultKey();

    CalendarBook(CalendarView &view, cls_Config &config, FetchSchedule &schedule, const QString &pageBase);

    // Downloads a task's page: the key and the address it asks for. The
    // calendar's tasks in the schedule run it when they are due.
    using Download = std::function<void(const QString &key, const QString &link)>;
    void onDownload(Download download) { m_download = std::move(download); }

    // The instant in the calendar's time zone.
    static QDateTime calendarTime(const QDateTime &instant);
    // 1 Monday .. 5 Friday, 6 Saturday, 0 Sunday.
    static int weekdayIndex(const QDate &date);
    // The Monday of the week in use on that day (Saturday and Sunday belong to the week just ended).
    static QDate weekMonday(const QDate &date);
    QString dayAddress(const QDate &date) const;

    // Start-up, once the main page is ready.
    void start(const QDateTime &now);
    // The page was loaded anew (its renderer ended): the days' titles, today's
    // mark, the chosen day and its table, as they were. Nothing before the start.
    void showAgain(const QDateTime &now);
    // A download of a task has ended; `link` is the address it was asked for.
    void downloadComplete(const QString &key, const QString &link, const QByteArray &body, bool success,
                          const QDateTime &now);
    // ctlTimeCalc: the week's rollover, then the reminder scan and result polling.
    void calcTick(const QDateTime &now);
    // ctlTimeNotify: shows a queued reminder when it is due.
    void notifyTick(const QDateTime &now);
    int calcInterval() const { return m_calcInterval; }
    bool reminderQueued() const { return !m_queuedText.isEmpty(); }
    QDateTime reminderDue() const { return m_reminderDue; }

    // The weekday tabs (1..5, and WholeWeek) and the reminder controls.
    void SelectWeekTab(int weekIndex, const QDateTime &now);
    void SelWeek(int weekIndex, const QDateTime &now);
    void controlClicked(int weekIndex, int itemNumber, bool checked, const QDateTime &now);
    // The context menu's "remind all" and "remind none", offered only for today and later days.
    bool canRemindAll(const QDateTime &now) const;
    void remindAll(bool on, const QDateTime &now);

    // The header's countdown to the next event of today.
    CalendarCountdown countdown(const QDateTime &now) const;
    // The importance filter: rows below it are hidden on every day (their
    // reminders still come). 0 all, 1 middle and high, 2 high; stored.
    int minImportance() const;
    void setMinImportance(int level, const QDateTime &now);
    // 0 for "低" or none, 1 for "中", 2 for "高".
    static int importanceLevel(const QString &importance);

    bool CalendarReady() const { return m_ready; }
    QDate CalendarWeekStart() const { return m_weekStart; }
    int ShownDay() const { return m_shownDay; }
    // Whether the table shows the day: its own tab, or the whole week.
    bool shows(int day) const { return m_shownDay == day || (m_shownDay == WholeWeek && day >= 1 && day <= 5); }
    int TodayIndex() const { return m_todayIndex; }
    CalendarWeekStore &store() { return m_store; }

private:
    void armDays(const QDate &monday, bool dueNow);
    void showDayTitles(const QDate &monday);
    FetchSchedule::Job downloadJob();
    // Each answers whether the stored week changed.
    bool LoadCalendarDay(const QString &key, const QString &text);
    bool MergeCalendarDay(const QString &key, const QString &text, bool update, const QDateTime &now);
    void rebuildDay(int weekIndex, const QList<CalendarRow> &rows);
    void addRows(int weekIndex, const QList<CalendarRow> &rows);
    void rememberChoices(int weekIndex);
    static QString choiceKey(int weekIndex, const QString &info);
    // A poll ends five minutes after its event, at the day's end, and never runs at the weekend.
    void checkResultDeadline(const QDateTime &now);
    void stopResultPolling(const QDateTime &now);
    // Whether a poll for the item's result started.
    bool startResultPolling(int itemIndex, const CalendarWeekStore::Item &item, const QDateTime &now);
    void rollOver(const QDate &monday);
    void scanReminders(const QDateTime &now);
    void showReminder(const QString &text, const QString &title);
    CalendarItemView::Control controlFor(int weekIndex, const CalendarWeekStore::Item &item, const QDateTime &now) const;
    int notifyMinutes() const { return notifyMinutes(m_config); }
    void redraw(const QDateTime &now);

    CalendarView &m_view;
    cls_Config &m_config;
    FetchSchedule &m_schedule;
    CalendarWeekStore m_store;
    QString m_pageBase;
    bool m_ready = false;
    QDate m_weekStart;
    int m_todayIndex = 0;
    int m_shownDay = 0;
    // Result polling: the event's time and its own day.
    QString m_pendingResultTime;
    QDate m_pendingResultDate;
    // Reminders: a queued one is shown at its instant.
    QString m_queuedText;
    QDateTime m_reminderDue;
    int m_calcInterval = SlowScanMs;
    // The week's reminder choices, by day and event text ("0" included):
    // they outlive a day rebuilt from a changed page and a week fetched again.
    QHash<QString, QString> m_choices;
    Download m_download;
    // Today's items whose result has been asked for, by time and text.
    QSet<QString> m_polled;
};
