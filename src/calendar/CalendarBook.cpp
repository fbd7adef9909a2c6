#include "calendar/CalendarBook.h"

#include "calendar/CalendarPage.h"
#include "core/ConfigPaths.h"
#include "core/FetchSchedule.h"
#include "core/NumberText.h"
#include "core/cls_Config.h"
#include "core/Logging.h"
#include "html/HtmlDocument.h"
#include "html/TextDecoder.h"

#include <QLocale>
#include <QTimeZone>

#include <algorithm>

namespace Stored = ConfigPaths::CalendarItem;

namespace {

constexpr int CalendarUtcOffset = 8 * 3600;

QString clockText(const QDateTime &time)
{
    return time.toString(QStringLiteral("HH:mm"));
}

QString shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

// "前值: … 市场预测: … 结果: …", each part only when it has a value.
QString valuesLine(const QString &before, const QString &predict, const QString &result, const QString &importance = {})
{
    QStringList parts;
    if (!before.isEmpty())
        parts << QStringLiteral("前值: ") + before;
    if (!predict.isEmpty())
        parts << QStringLiteral("市场预测: ") + predict;
    if (!result.isEmpty())
        parts << QStringLiteral("结果: ") + result;
    if (!importance.isEmpty())
        parts << QStringLiteral("重要: ") + importance;
    return parts.join(u' ');
}

QString reminderLine(const CalendarWeekStore::Item &item)
{
    const QString details = valuesLine(item.before, item.predict, QString(), item.importance);
    return item.time.left(5) + QStringLiteral("  ") + (details.isEmpty() ? QString() : item.info + QStringLiteral(" (") + details + u')');
}

} // namespace

QString CalendarBook::dayKey(int weekIndex)
{
    return QStringLiteral("Calendar") + QString::number(weekIndex);
}

QString CalendarBook::resultKey()
{
    return QStringLiteral("CalendarDataUpdate");
}

CalendarBook::CalendarBook(CalendarView &view, cls_Config &config, FetchSchedule &schedule, const QString &pageBase)
    : m_view(view)
    , m_config(config)
    , m_schedule(schedule)
    , m_store(config)
    , m_pageBase(pageBase)
{
}

QDateTime CalendarBook::calendarTime(const QDateTime &instant)
{
    return instant.toOffsetFromUtc(CalendarUtcOffset);
}

int CalendarBook::weekdayIndex(const QDate &date)
{
    return date.dayOfWeek() % 7;
}

QDate CalendarBook::weekMonday(const QDate &date)
{
    const int index = weekdayIndex(date);
    return index == 0 ? date.addDays(-6) : date.addDays(1 - index);
}

QString CalendarBook::dayAddress(const QDate &date) const
{
    return m_pageBase + QStringLiteral("/indexs/ecalendar.asp?date=%1-%2-%3").arg(date.year()).arg(date.month()).arg(date.day());
}

void CalendarBook::start(const QDateTime &now)
{
    const QDate today = calendarTime(now).date();
    m_todayIndex = weekdayIndex(today);
    m_weekStart = weekMonday(today);
    if (m_store.dateFrom() == m_weekStart) {
        m_ready = true;
        for (int day = 1; day <= 5; ++day)
            m_ready = m_ready && !m_store.items(day).isEmpty();
    }
    if (m_ready) {
        m_calcInterval = SlowScanMs;
    } else {
        // A week fetched again keeps the reminder choices made for it, day by day.
        if (m_store.dateFrom() == m_weekStart) {
            for (int day = 1; day <= 5; ++day)
                rememberChoices(day);
        }
        m_store.RemoveAllFXCalendar();
        m_store.setDateFrom(m_weekStart);
        m_view.balloon(QStringLiteral("正在获取本周的财经事件!"),
                       QStringLiteral("从") + shortDate(m_weekStart) + QStringLiteral(" 到 ") + shortDate(m_weekStart.addDays(4)));
    }
    armDays(m_weekStart, false);
    if (m_todayIndex >= 1 && m_todayIndex <= 5) {
        m_view.markToday(m_todayIndex, true);
        SelectWeekTab(m_todayIndex, now);
    }
}

void CalendarBook::armDays(const QDate &monday, bool dueNow)
{
    for (int day = 1; day <= 5; ++day) {
        const QDate date = monday.addDays(day - 1);
        tavrin &task = m_schedule.add(dayKey(day));
        m_schedule.setJob(dayKey(day), downloadJob());
        task.Link = dayAddress(date);
        task.Interval = DayInterval;
        task.TimeCount = qint16(dueNow ? DayInterval + 1 : DayInterval);
        task.Initialize = false;
        task.Enabled = true;
        task.Visible = true;
    }
    showDayTitles(monday);
}

void CalendarBook::showDayTitles(const QDate &monday)
{
    for (int day = 1; day <= 5; ++day)
        m_view.setDayTitle(day, QLocale::system().toString(monday.addDays(day - 1), QLocale::LongFormat));
}

void CalendarBook::showAgain(const QDateTime &now)
{
    if (!m_weekStart.isValid())
        return;
    showDayTitles(m_weekStart);
    if (m_todayIndex >= 1 && m_todayIndex <= 5)
        m_view.markToday(m_todayIndex, true);
    if (m_shownDay >= 1 && m_shownDay <= WholeWeek) {
        m_view.selectDayTab(0, m_shownDay);
        SelWeek(m_shownDay, now);
    }
}

void CalendarBook::downloadComplete(const QString &key, const QString &link, const QByteArray &body, bool success,
                                    const QDateTime &now)
{
    tavrin *task = m_schedule.find(key);
    if (!task)
        return;
    task->Working = false;
    // Asked for before the week rolled over or the poll moved on: not this task's page any more.
    if (task->Visible && link == task->Link && success) {
        const QString text = TextDecoder::fromGb18030(body);
        bool changed = false;
        if (key == resultKey())
            changed = MergeCalendarDay(key, text, true, now);
        else if (m_ready)
            changed = MergeCalendarDay(key, text, false, now);
        else
            changed = LoadCalendarDay(key, text);
        if (changed)
            redraw(now);
    }
    // Whatever the page was, a poll ends by its rules.
    if (key == resultKey())
        checkResultDeadline(now);
}

FetchSchedule::Job CalendarBook::downloadJob()
{
    return [this](const QString &key, const QDateTime &) {
        if (m_download)
            m_download(key, m_schedule.task(key).Link);
    };
}

void CalendarBook::rememberChoices(int weekIndex)
{
    for (const CalendarWeekStore::Item &item : m_store.items(weekIndex))
        m_choices.insert(choiceKey(weekIndex, item.info), item.notify);
}

QString CalendarBook::choiceKey(int weekIndex, const QString &info)
{
    return QString::number(weekIndex) + u'\n' + info;
}

bool CalendarBook::LoadCalendarDay(const QString &key, const QString &text)
{
    const int weekIndex = key.right(1).toInt();
    HtmlDocument doc;
    const std::optional<CalendarPage> page = CalendarPage::parse(text, doc);
    if (m_ready || !page)
        return false;
    m_store.setEventList(weekIndex, page->eventList);
    addRows(weekIndex, page->rows);
    tavrin &task = m_schedule.add(key);
    task.Enabled = false;
    task.Initialize = true;
    for (int day = 1; day <= 5; ++day) {
        if (!m_schedule.task(dayKey(day)).Initialize)
            return true;
    }
    m_view.playSystemSound(QStringLiteral("SystemAsterisk"));
    m_view.balloon(QStringLiteral("本周的财经日历更新成功! "), QStringLiteral("财经日历"));
    m_ready = true;
    m_calcInterval = SlowScanMs;
    return true;
}

void CalendarBook::addRows(int weekIndex, const QList<CalendarRow> &rows)
{
    for (const CalendarRow &row : rows) {
        m_store.AddFXCalendar(weekIndex, row.time, row.info, row.before, row.predict, row.result, row.importance, QString(),
                              m_choices.value(choiceKey(weekIndex, row.info), QStringLiteral("1")));
    }
}

bool CalendarBook::MergeCalendarDay(const QString &key, const QString &text, bool update, const QDateTime &now)
{
    const QDateTime beijing = calendarTime(now);
    // A poll that belongs to a day that has ended takes nothing of today: its rules end it.
    if (update && m_pendingResultDate != beijing.date())
        return false;
    const int weekIndex = update ? weekdayIndex(m_pendingResultDate) : key.right(1).toInt();
    HtmlDocument doc;
    const std::optional<CalendarPage> page = CalendarPage::parse(text, doc);
    if (!page)
        return false;
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    // A broken page (its data block missing or cut off) has no rows: it
    // never wipes a day that has them, nor the reminder choices with it.
    if (page->rows.isEmpty() && !items.isEmpty()) {
        qCInfo(lcCalendar) << "a page without rows left day" << weekIndex << "as it was";
        return false;
    }
    bool changed = false;
    if (m_store.eventList(weekIndex) != page->eventList) {
        m_store.setEventList(weekIndex, page->eventList);
        changed = true;
    }
    if (page->rows.size() != items.size()) {
        rebuildDay(weekIndex, page->rows);
        return true;
    }
    bool allArrived = true;
    bool resultArrived = false;
    QStringList resultText;
    for (qsizetype j = 0; j < items.size(); ++j) {
        const CalendarRow &row = page->rows.at(j);
        const CalendarWeekStore::Item &item = items.at(j);
        if (update && row.time <= m_pendingResultTime && row.result.isEmpty())
            allArrived = false;
        const std::pair<const char *, std::pair<QString, QString>> values[] = {
            {Stored::Time, {item.time, row.time}},
            {Stored::Before, {item.before, row.before}},
            {Stored::Predict, {item.predict, row.predict}}};
        for (const auto &[name, pair] : values) {
            if (pair.first != pair.second) {
                m_store.setItemAttribute(weekIndex, int(j), name, pair.second);
                changed = true;
            }
        }
        // A revised previous value keeps the one first published beside it.
        if (item.before != row.before && !item.before.isEmpty() && item.revisedFrom.isEmpty())
            m_store.setItemAttribute(weekIndex, int(j), Stored::RevisedFrom, item.before);
        if (QString(item.result).remove(u'?') != row.result) {
            m_store.setItemAttribute(weekIndex, int(j), Stored::Result, row.result);
            changed = true;
            if (update && row.time == m_pendingResultTime) {
                resultArrived = true;
                const QString line = valuesLine(row.before, row.predict, row.result);
                const QString surprise = ReleaseValue::words(ReleaseValue::compare(row.result, row.predict, row.before));
                if (!line.isEmpty())
                    resultText << item.info + QStringLiteral(" (") + line + (surprise.isEmpty() ? QString() : u' ' + surprise) + u')';
            }
        }
    }
    if (!update) {
        tavrin &task = m_schedule.add(key);
        task.Enabled = false;
        task.Initialize = true;
        return changed;
    }
    if (resultArrived && !resultText.isEmpty())
        m_view.balloon(resultText.join(QStringLiteral("\r\n")), QStringLiteral("财经数据 ") + m_pendingResultTime);
    if (allArrived)
        stopResultPolling(now);
    return changed;
}

void CalendarBook::rebuildDay(int weekIndex, const QList<CalendarRow> &rows)
{
    // Every reminder choice is kept by the event's day and text, "do not remind" included.
    rememberChoices(weekIndex);
    m_store.RemoveWeekFXCalendar(weekIndex);
    addRows(weekIndex, rows);
}

void CalendarBook::checkResultDeadline(const QDateTime &now)
{
    const tavrin *task = m_schedule.find(resultKey());
    if (!task || !task->Enabled)
        return;
    const QDateTime beijing = calendarTime(now);
    const QDateTime pending(m_pendingResultDate, QTime::fromString(m_pendingResultTime, QStringLiteral("HH:mm")),
                            QTimeZone(CalendarUtcOffset));
    const int weekday = weekdayIndex(beijing.date());
    if (beijing.date() != m_pendingResultDate || weekday < 1 || weekday > 5 || !pending.isValid()
        || beijing > pending.addSecs(ResultWaitMinutes * 60)) {
        qCInfo(lcCalendar) << "result polling for" << m_pendingResultTime << "ends";
        stopResultPolling(now);
    }
}

void CalendarBook::stopResultPolling(const QDateTime &now)
{
    tavrin &task = m_schedule.add(resultKey());
    task.Enabled = false;
    task.Initialize = true;
    const int weekIndex = weekdayIndex(m_pendingResultDate);
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    bool cleared = false;
    for (qsizetype j = 0; j < items.size(); ++j) {
        if (items.at(j).result == QStringLiteral("?")) {
            m_store.setItemAttribute(weekIndex, int(j), Stored::Result, QString());
            cleared = true;
        }
    }
    if (cleared)
        redraw(now);
}

bool CalendarBook::startResultPolling(int itemIndex, const CalendarWeekStore::Item &item, const QDateTime &now)
{
    const QDate today = calendarTime(now).date();
    const QString polled = item.time + u'\n' + item.info;
    if (m_polled.contains(polled))
        return false;
    m_polled.insert(polled);
    // A "?" stored by an earlier run is polled once more, and cleared by the rules.
    if (!item.result.isEmpty() && item.result != QStringLiteral("?"))
        return false;
    m_store.setItemAttribute(weekdayIndex(today), itemIndex, Stored::Result, QStringLiteral("?"));
    m_pendingResultTime = item.time.left(5);
    m_pendingResultDate = today;
    if (!m_schedule.contains(resultKey())) {
        tavrin &task = m_schedule.add(resultKey());
        m_schedule.setJob(resultKey(), downloadJob());
        task.TimeCount = ResultInterval;
        task.Interval = ResultInterval;
        task.Visible = true;
    }
    tavrin &task = m_schedule.add(resultKey());
    task.Link = dayAddress(today);
    task.Enabled = true;
    task.Initialize = false;
    return true;
}

void CalendarBook::calcTick(const QDateTime &now)
{
    const QDate today = calendarTime(now).date();
    const int index = weekdayIndex(today);
    // A new week starts over, whether or not the old one was ever complete.
    const QDate monday = weekMonday(today);
    if (m_weekStart.isValid() && monday != m_weekStart)
        rollOver(monday);
    checkResultDeadline(now);
    if (!m_ready)
        return;
    if (index != m_todayIndex) {
        if (m_todayIndex >= 1 && m_todayIndex <= 5)
            m_view.markToday(m_todayIndex, false);
        if (index >= 1 && index <= 5)
            m_view.markToday(index, true);
        m_todayIndex = index;
        m_polled.clear();
        redraw(now);
    }
    if (index >= 1 && index <= 5)
        scanReminders(now);
}

void CalendarBook::rollOver(const QDate &monday)
{
    m_weekStart = monday;
    m_store.RemoveAllFXCalendar();
    m_store.setDateFrom(monday);
    m_ready = false;
    m_choices.clear();
    m_polled.clear();
    if (tavrin *results = m_schedule.find(resultKey()))
        results->Enabled = false;
    armDays(monday, true);
    m_view.balloon(QStringLiteral("正在获取本周的财经日历!\r\n从") + shortDate(monday) + QStringLiteral(" 到 ")
                       + shortDate(monday.addDays(4)),
                   QStringLiteral("财经日历"));
}

int CalendarBook::notifyMinutes(const cls_Config &config)
{
    return numberFromText(config.value(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime, ConfigPaths::DefaultNotifyTime));
}

void CalendarBook::scanReminders(const QDateTime &now)
{
    const QDateTime beijing = calendarTime(now);
    const int index = weekdayIndex(beijing.date());
    const QString nowText = clockText(beijing);
    const QTime clock = beijing.time();
    // Whole minutes between the minute of now and the event's, as the clock
    // shows them; -1 for a time that is no time.
    const auto minutesTo = [&](const CalendarWeekStore::Item &item, int dayOffset) {
        const QTime at = QTime::fromString(item.time.left(5), QStringLiteral("HH:mm"));
        return at.isValid() ? dayOffset * 24 * 60 + at.hour() * 60 + at.minute() - (clock.hour() * 60 + clock.minute()) : -1;
    };
    // Today's events still to come, and the next weekday's: an event just
    // after midnight is due before it.
    const int tomorrow = index >= 1 && index <= 4 ? index + 1 : 0;
    const std::pair<int, int> days[] = {{index, 0}, {tomorrow, 1}};
    int next = -1;
    for (const auto &[day, offset] : days) {
        if (day == 0)
            continue;
        for (const CalendarWeekStore::Item &item : m_store.items(day)) {
            const int minutes = minutesTo(item, offset);
            if ((offset > 0 || item.time.left(5) > nowText) && minutes > 0 && (next < 0 || minutes < next))
                next = minutes;
        }
    }
    const int lead = notifyMinutes();
    QStringList lines;
    bool polling = false;
    for (const auto &[day, offset] : days) {
        if (day == 0)
            continue;
        const QList<CalendarWeekStore::Item> items = m_store.items(day);
        for (qsizetype i = 0; i < items.size(); ++i) {
            const CalendarWeekStore::Item &item = items.at(i);
            if (offset > 0 || item.time.left(5) > nowText) {
                if (next >= 0 && minutesTo(item, offset) == next && next <= lead + 1 && numberFromText(item.notify) == 1) {
                    lines << reminderLine(item);
                    m_store.setItemAttribute(day, int(i), Stored::Notify, QStringLiteral("2"));
                    if (shows(day))
                        m_view.setControl(day, int(i) + 1, CalendarItemView::Control::GivenCheckbox);
                }
            } else if (shows(index)) {
                m_view.setControl(index, int(i) + 1, CalendarItemView::Control::Over);
                polling = startResultPolling(int(i), item, now) || polling;
            }
        }
    }
    if (polling)
        redraw(now); // the "?" of the results asked for
    m_calcInterval = next >= 0 && next <= 1 ? FastScanMs : SlowScanMs;
    if (lines.isEmpty())
        return;
    const QDateTime minuteStart(beijing.date(), QTime(clock.hour(), clock.minute()), QTimeZone(CalendarUtcOffset));
    const QDateTime due = minuteStart.addSecs(qint64(next - lead) * 60);
    const QString text = lines.join(QStringLiteral("\r\n"));
    if (beijing.secsTo(due) < 1) {
        showReminder(text, QStringLiteral("财经事件提醒"));
    } else if (!m_queuedText.isEmpty() && m_reminderDue == due) {
        m_queuedText += QStringLiteral("\r\n") + text; // another event of the same minute joins it
    } else {
        m_queuedText = text;
        m_reminderDue = due;
    }
}

void CalendarBook::notifyTick(const QDateTime &now)
{
    if (m_queuedText.isEmpty() || now < m_reminderDue)
        return;
    const QString text = std::exchange(m_queuedText, QString());
    showReminder(text, QStringLiteral("财经事件提醒!"));
}

void CalendarBook::showReminder(const QString &text, const QString &title)
{
    m_view.reminder(text);
    m_view.balloon(text, title);
}

CalendarItemView::Control CalendarBook::controlFor(int weekIndex, const CalendarWeekStore::Item &item,
                                                   const QDateTime &now) const
{
    using Control = CalendarItemView::Control;
    const QDateTime beijing = calendarTime(now);
    const int today = weekdayIndex(beijing.date());
    // On Saturday and Sunday every day of the week is over.
    const int state = today >= 1 && today <= 5 ? today - weekIndex : 1;
    if (state < 0)
        return item.notify == QStringLiteral("1") ? Control::CheckedCheckbox : Control::Checkbox;
    if (state == 0 && item.time.left(5) > clockText(beijing)) {
        if (item.notify == QStringLiteral("0"))
            return Control::Checkbox;
        return item.notify == QStringLiteral("1") ? Control::CheckedCheckbox : Control::GivenCheckbox;
    }
    return Control::Over;
}

void CalendarBook::SelWeek(int weekIndex, const QDateTime &now)
{
    // The whole week: the five days' items in one table, without their event lists.
    const bool week = weekIndex == WholeWeek;
    QList<CalendarItemView> rows;
    const int minimum = minImportance();
    for (int day = week ? 1 : weekIndex; day <= (week ? 5 : weekIndex); ++day) {
        const QList<CalendarWeekStore::Item> items = m_store.items(day);
        for (qsizetype j = 0; j < items.size(); ++j) {
            const CalendarWeekStore::Item &item = items.at(j);
            rows.append({item.time, item.info, item.before, item.predict, item.result, item.importance, item.comment,
                         controlFor(day, item, now), item.revisedFrom,
                         ReleaseValue::compare(item.result, item.predict, item.before),
                         importanceLevel(item.importance) < minimum, day, int(j) + 1});
        }
    }
    if (rows.isEmpty())
        return;
    m_view.showDay(weekIndex, week ? QList<std::pair<QString, QString>>{} : CalendarPage::eventEntries(m_store.eventList(weekIndex)),
                   rows);
}

CalendarCountdown CalendarBook::countdown(const QDateTime &now) const
{
    const QDateTime beijing = calendarTime(now);
    const int today = weekdayIndex(beijing.date());
    // Only a stored week that is this week's holds today's events.
    const bool thisWeek = weekMonday(beijing.date()) == m_store.dateFrom() && today >= 1 && today <= 5;
    return CalendarCountdown::next(thisWeek ? m_store.items(today) : QList<CalendarWeekStore::Item>{}, beijing);
}

int CalendarBook::importanceLevel(const QString &importance)
{
    if (importance == QStringLiteral("高"))
        return 2;
    return importance == QStringLiteral("中") ? 1 : 0;
}

int CalendarBook::minImportance() const
{
    return std::clamp(numberFromText(m_config.value(ConfigPaths::CalendarSettings, ConfigPaths::MinImportance, ConfigPaths::DefaultMinImportance)),
                      0, 2);
}

void CalendarBook::setMinImportance(int level, const QDateTime &now)
{
    level = std::clamp(level, 0, 2);
    if (level == minImportance())
        return;
    m_config.CreateAttrib(ConfigPaths::CalendarSettings, ConfigPaths::MinImportance, QString::number(level));
    redraw(now);
}

void CalendarBook::redraw(const QDateTime &now)
{
    if (m_shownDay >= 1 && m_shownDay <= WholeWeek)
        SelWeek(m_shownDay, now);
}

void CalendarBook::SelectWeekTab(int weekIndex, const QDateTime &now)
{
    if (weekIndex == m_shownDay || weekIndex < 1 || weekIndex > WholeWeek)
        return;
    m_view.selectDayTab(m_shownDay, weekIndex);
    m_shownDay = weekIndex;
    SelWeek(weekIndex, now);
}

void CalendarBook::controlClicked(int weekIndex, int itemNumber, bool checked, const QDateTime &now)
{
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    if (!shows(weekIndex) || itemNumber < 1 || itemNumber > items.size())
        return;
    // A given or past reminder never changes, whatever a page sends.
    const CalendarItemView::Control control = controlFor(weekIndex, items.at(itemNumber - 1), now);
    if (control == CalendarItemView::Control::Checkbox || control == CalendarItemView::Control::CheckedCheckbox)
        m_store.setItemAttribute(weekIndex, itemNumber - 1, Stored::Notify,
                                 checked ? QStringLiteral("1") : QStringLiteral("0"));
}

bool CalendarBook::canRemindAll(const QDateTime &now) const
{
    const int today = weekdayIndex(calendarTime(now).date());
    return m_shownDay >= 1 && m_shownDay <= 5 && today >= 1 && today <= 5 && m_shownDay >= today;
}

void CalendarBook::remindAll(bool on, const QDateTime &now)
{
    if (!canRemindAll(now))
        return;
    const QList<CalendarWeekStore::Item> items = m_store.items(m_shownDay);
    for (qsizetype j = 0; j < items.size(); ++j) {
        const CalendarItemView::Control control = controlFor(m_shownDay, items.at(j), now);
        if (control != CalendarItemView::Control::Checkbox && control != CalendarItemView::Control::CheckedCheckbox)
            continue;
        m_store.setItemAttribute(m_shownDay, int(j), Stored::Notify, on ? QStringLiteral("1") : QStringLiteral("0"));
        m_view.setControl(m_shownDay, int(j) + 1,
                          on ? CalendarItemView::Control::CheckedCheckbox : CalendarItemView::Control::Checkbox);
    }
}
