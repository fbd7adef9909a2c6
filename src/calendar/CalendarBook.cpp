#include "calendar/CalendarBook.h"

#include "calendar/CalendarPage.h"
#include "core/ConfigPaths.h"
#include "core/FetchSchedule.h"
#include "core/NumberText.h"
#include "core/cls_Config.h"
#include "html/HtmlDocument.h"
#include "html/TextDecoder.h"

#include <QLocale>
#include <QTimeZone>

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
        // A week fetched again keeps the reminder choices made for it.
        if (m_store.dateFrom() == m_weekStart) {
            for (int day = 1; day <= 5; ++day) {
                for (const CalendarWeekStore::Item &item : m_store.items(day))
                    m_remembered.insert(item.info, item.notify);
            }
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
        task.Link = dayAddress(date);
        task.Interval = DayInterval;
        task.TimeCount = qint16(dueNow ? DayInterval + 1 : DayInterval);
        task.Initialize = false;
        task.Enabled = true;
        task.Visible = true;
        m_view.setDayTitle(day, QLocale::system().toString(date, QLocale::LongFormat));
    }
}

void CalendarBook::downloadComplete(const QString &key, const QString &link, const QByteArray &body, bool success,
                                    const QDateTime &now)
{
    if (!m_schedule.contains(key))
        return;
    tavrin &task = m_schedule.task(key);
    if (!task.Visible)
        return;
    task.Working = false;
    // Asked for before the week rolled over or the poll moved on: not this task's page any more.
    if (link != task.Link || !success)
        return;
    const QString text = TextDecoder::fromGb18030(body);
    if (key == resultKey())
        MergeCalendarDay(key, text, true, now);
    else if (m_ready)
        MergeCalendarDay(key, text, false, now);
    else
        LoadCalendarDay(key, text);
    redraw(now);
}

void CalendarBook::LoadCalendarDay(const QString &key, const QString &text)
{
    const int weekIndex = key.right(1).toInt();
    HtmlDocument doc;
    const std::optional<CalendarPage> page = CalendarPage::parse(text, doc);
    if (m_ready || !page)
        return;
    m_store.setEventList(weekIndex, page->eventList);
    addRows(weekIndex, page->rows, m_remembered);
    tavrin &task = m_schedule.task(key);
    task.Enabled = false;
    task.Initialize = true;
    for (int day = 1; day <= 5; ++day) {
        if (!m_schedule.task(dayKey(day)).Initialize)
            return;
    }
    m_view.playSystemSound(QStringLiteral("SystemAsterisk"));
    m_view.balloon(QStringLiteral("本周的财经日历更新成功! "), QStringLiteral("财经日历"));
    m_ready = true;
    m_remembered.clear();
    m_calcInterval = SlowScanMs;
}

void CalendarBook::addRows(int weekIndex, const QList<CalendarRow> &rows, const QHash<QString, QString> &notify)
{
    for (const CalendarRow &row : rows) {
        m_store.AddFXCalendar(weekIndex, row.time, row.info, row.before, row.predict, row.result, row.importance, QString(),
                              notify.value(row.info, QStringLiteral("1")));
    }
}

void CalendarBook::MergeCalendarDay(const QString &key, const QString &text, bool update, const QDateTime &now)
{
    const QDateTime beijing = calendarTime(now);
    if (update && m_pendingResultDate != beijing.date()) {
        // The poll belongs to a day that has ended: nothing of today goes into it.
        stopResultPolling(now);
        return;
    }
    const int weekIndex = update ? weekdayIndex(m_pendingResultDate) : key.right(1).toInt();
    HtmlDocument doc;
    const std::optional<CalendarPage> page = CalendarPage::parse(text, doc);
    if (!page)
        return;
    m_store.setEventList(weekIndex, page->eventList);
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    if (page->rows.size() != items.size()) {
        rebuildDay(weekIndex, page->rows);
        return;
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
            {"Time", {item.time, row.time}}, {"BeforeValue", {item.before, row.before}}, {"PredictValue", {item.predict, row.predict}}};
        for (const auto &[name, pair] : values) {
            if (pair.first != pair.second)
                m_store.setItemAttribute(weekIndex, int(j), name, pair.second);
        }
        if (QString(item.result).remove(u'?') != row.result) {
            m_store.setItemAttribute(weekIndex, int(j), "Result", row.result);
            if (update && row.time == m_pendingResultTime) {
                resultArrived = true;
                const QString line = valuesLine(row.before, row.predict, row.result);
                if (!line.isEmpty())
                    resultText << item.info + QStringLiteral(" (") + line + u')';
            }
        }
    }
    if (!update) {
        tavrin &task = m_schedule.task(key);
        task.Enabled = false;
        task.Initialize = true;
        return;
    }
    if (resultArrived && !resultText.isEmpty())
        m_view.balloon(resultText.join(QStringLiteral("\r\n")), QStringLiteral("财经数据 ") + m_pendingResultTime);
    const QDateTime pending(m_pendingResultDate, QTime::fromString(m_pendingResultTime, QStringLiteral("HH:mm")),
                            QTimeZone(CalendarUtcOffset));
    if (allArrived || beijing > pending.addSecs(ResultWaitMinutes * 60))
        stopResultPolling(now);
}

void CalendarBook::rebuildDay(int weekIndex, const QList<CalendarRow> &rows)
{
    // Every reminder choice is kept by the event's text, "do not remind" included.
    QHash<QString, QString> notify;
    for (const CalendarWeekStore::Item &item : m_store.items(weekIndex))
        notify.insert(item.info, item.notify);
    m_store.RemoveWeekFXCalendar(weekIndex);
    addRows(weekIndex, rows, notify);
}

void CalendarBook::stopResultPolling(const QDateTime &now)
{
    tavrin &task = m_schedule.task(resultKey());
    task.Enabled = false;
    task.Initialize = true;
    const int weekIndex = weekdayIndex(m_pendingResultDate);
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    for (qsizetype j = 0; j < items.size(); ++j) {
        if (items.at(j).result == QStringLiteral("?"))
            m_store.setItemAttribute(weekIndex, int(j), "Result", QString());
    }
    redraw(now);
}

void CalendarBook::startResultPolling(int itemIndex, const CalendarWeekStore::Item &item, const QDateTime &now)
{
    const QDate today = calendarTime(now).date();
    const QString polled = item.time + u'\n' + item.info;
    if (m_polled.contains(polled))
        return;
    m_polled.insert(polled);
    if (!item.result.isEmpty())
        return;
    m_store.setItemAttribute(weekdayIndex(today), itemIndex, "Result", QStringLiteral("?"));
    m_pendingResultTime = item.time.left(5);
    m_pendingResultDate = today;
    if (!m_schedule.contains(resultKey())) {
        tavrin &task = m_schedule.add(resultKey());
        task.TimeCount = ResultInterval;
        task.Interval = ResultInterval;
        task.Visible = true;
    }
    tavrin &task = m_schedule.task(resultKey());
    task.Link = dayAddress(today);
    task.Enabled = true;
    task.Initialize = false;
}

void CalendarBook::calcTick(const QDateTime &now)
{
    const QDate today = calendarTime(now).date();
    const int index = weekdayIndex(today);
    // A new week starts over, whether or not the old one was ever complete.
    const QDate monday = weekMonday(today);
    if (m_weekStart.isValid() && monday != m_weekStart)
        rollOver(monday);
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
    m_remembered.clear();
    m_polled.clear();
    m_schedule.task(resultKey()).Enabled = false;
    armDays(monday, true);
    m_view.balloon(QStringLiteral("正在获取本周的财经日历!\r\n从") + shortDate(monday) + QStringLiteral(" 到 ")
                       + shortDate(monday.addDays(4)),
                   QStringLiteral("财经日历"));
}

int CalendarBook::notifyMinutes() const
{
    if (!m_config.isExistAttrib(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime))
        return 0;
    return numberFromText(m_config.GetNodeAttrib(ConfigPaths::CalendarSettings, ConfigPaths::NotifyTime));
}

void CalendarBook::scanReminders(const QDateTime &now)
{
    const QDateTime beijing = calendarTime(now);
    const int index = weekdayIndex(beijing.date());
    const QList<CalendarWeekStore::Item> items = m_store.items(index);
    if (items.isEmpty())
        return;
    const QString nowText = clockText(beijing);
    // The nearest minute still to come, wherever its items stand in the day.
    QString next;
    for (const CalendarWeekStore::Item &item : items) {
        const QString t = item.time.left(5);
        if (t > nowText && (next.isEmpty() || t < next))
            next = t;
    }
    const QDateTime nextAt(beijing.date(), QTime::fromString(next, QStringLiteral("HH:mm")), QTimeZone(CalendarUtcOffset));
    // Whole minutes between the minute of now and the event's, as the clock shows them.
    const QTime clock = beijing.time();
    const int minutes = next.isEmpty() ? -1 : (nextAt.time().hour() * 60 + nextAt.time().minute()) - (clock.hour() * 60 + clock.minute());
    const int lead = notifyMinutes();
    QStringList lines;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const CalendarWeekStore::Item &item = items.at(i);
        const QString t = item.time.left(5);
        if (t > nowText) {
            if (t == next && minutes <= lead + 1 && numberFromText(item.notify) == 1) {
                lines << reminderLine(item);
                m_store.setItemAttribute(index, int(i), "Notify", QStringLiteral("2"));
                if (m_shownDay == index)
                    m_view.setControl(index, int(i) + 1, CalendarItemView::Control::GivenCheckbox);
            }
        } else if (m_shownDay == index) {
            m_view.setControl(index, int(i) + 1, CalendarItemView::Control::Over);
            startResultPolling(int(i), item, now);
        }
    }
    m_calcInterval = minutes >= 0 && minutes <= 1 ? FastScanMs : SlowScanMs;
    if (lines.isEmpty())
        return;
    const QDateTime due = nextAt.addSecs(-qint64(lead) * 60);
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
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    if (items.isEmpty())
        return;
    QList<CalendarItemView> rows;
    for (const CalendarWeekStore::Item &item : items)
        rows.append({item.time, item.info, item.before, item.predict, item.result, item.importance, item.comment,
                     controlFor(weekIndex, item, now)});
    m_view.showDay(weekIndex, CalendarPage::eventEntries(m_store.eventList(weekIndex)), rows);
}

void CalendarBook::redraw(const QDateTime &now)
{
    if (m_shownDay >= 1 && m_shownDay <= 5)
        SelWeek(m_shownDay, now);
}

void CalendarBook::SelectWeekTab(int weekIndex, const QDateTime &now)
{
    if (weekIndex == m_shownDay || weekIndex < 1 || weekIndex > 5)
        return;
    m_view.selectDayTab(m_shownDay, weekIndex);
    m_shownDay = weekIndex;
    SelWeek(weekIndex, now);
}

void CalendarBook::controlClicked(int weekIndex, int itemNumber, bool checked, const QDateTime &now)
{
    const QList<CalendarWeekStore::Item> items = m_store.items(weekIndex);
    if (weekIndex != m_shownDay || itemNumber < 1 || itemNumber > items.size())
        return;
    // A given or past reminder never changes, whatever a page sends.
    const CalendarItemView::Control control = controlFor(weekIndex, items.at(itemNumber - 1), now);
    if (control == CalendarItemView::Control::Checkbox || control == CalendarItemView::Control::CheckedCheckbox)
        m_store.setItemAttribute(weekIndex, itemNumber - 1, "Notify", checked ? QStringLiteral("1") : QStringLiteral("0"));
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
        m_store.setItemAttribute(m_shownDay, int(j), "Notify", on ? QStringLiteral("1") : QStringLiteral("0"));
        m_view.setControl(m_shownDay, int(j) + 1,
                          on ? CalendarItemView::Control::CheckedCheckbox : CalendarItemView::Control::Checkbox);
    }
}
