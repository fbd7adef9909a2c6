#include "news/NewsBoard.h"

#include "news/NewsView.h"

#include "core/Clock.h"
#include "core/ConfigPaths.h"
#include "core/Logging.h"
#include "core/NumberText.h"
#include "core/cls_Config.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimeZone>

NewsBoard::NewsBoard(NewsView &view, FetchSchedule &schedule, const Clock &clock, QList<NewsSource> sources, Fetch fetch)
    : m_view(view)
    , m_schedule(schedule)
    , m_clock(clock)
    , m_sources(std::move(sources))
    , m_fetch(std::move(fetch))
{
    for (const NewsSource &s : std::as_const(m_sources))
        scheduleFetch(s);
}

void NewsBoard::scheduleFetch(const NewsSource &source)
{
    const QString key = QString::number(source.id);
    m_schedule.add(key).Link = source.url;
    m_schedule.setJob(key, [this, id = source.id](const QString &, const QDateTime &now) { startFetch(id, now); });
}

void NewsBoard::addSource(const NewsSource &source)
{
    if (this->source(source.id))
        return;
    m_sources.append(source);
    scheduleFetch(source);
}

void NewsBoard::removeSource(int id)
{
    const NewsSource *s = source(id);
    if (!s)
        return;
    const QString table = s->table;
    removeError(id);
    removeTimeout(id);
    m_schedule.remove(QString::number(id));
    m_sources.removeIf([id](const NewsSource &entry) { return entry.id == id; });
    m_rows.remove(table);
    m_known.remove(id);
    m_retryAfter.remove(id);
}

void NewsBoard::updateSource(const NewsSource &updated)
{
    for (NewsSource &entry : m_sources) {
        if (entry.id == updated.id) {
            entry = updated;
            task(updated.id).Link = updated.url;
        }
    }
}

const NewsSource *NewsBoard::source(int id) const
{
    for (const NewsSource &s : m_sources) {
        if (s.id == id)
            return &s;
    }
    return nullptr;
}

void NewsBoard::ApplySourceSettings(const cls_Config &config)
{
    m_alerts.load(config);
    QString firstVisible;
    for (const NewsSource &source : std::as_const(m_sources)) {
        const NewsSource *s = &source;
        tavrin &t = task(s->id);
        const QString path = ConfigPaths::source(s->name);
        const QString intervalText
            = s->isUserSource() ? QString::number(s->interval) : config.value(path, ConfigPaths::IntervalTime);
        const int interval = numberFromText(intervalText);
        if (interval != t.Interval) {
            // A number that does not fit leaves the interval as it was.
            if (interval >= -32768 && interval <= 32767)
                t.Interval = qint16(interval == -1 ? 5 : interval);
            t.TimeCount = 1000;
        }
        const bool on = s->isUserSource() ? s->checked : numberFromText(config.value(path, ConfigPaths::Checked, ConfigPaths::DefaultSourceChecked)) != 0;
        if (on != t.Visible) {
            t.Enabled = on;
            t.Initialize = false;
            t.Visible = on;
            m_view.showSourceTab(s->anchor, on);
        }
        if (t.Visible && firstVisible.isEmpty())
            firstVisible = s->anchor;
    }
    m_view.sourceTabsChanged(firstVisible);
    // The error line empties; the sources' error flags stay as they are.
    m_errorMarks.clear();
    showStatus();
}

QString NewsBoard::ToUnixTimeQuery(const QDateTime &now)
{
    // Seconds from 1970 to the local time, less eight hours.
    const QDateTime local(now.date(), now.time(), Qt::UTC);
    return QString::number(local.toSecsSinceEpoch() - 8 * 3600);
}

void NewsBoard::startFetch(int id, const QDateTime &now)
{
    const tavrin &t = task(id);
    const NewsSource *s = source(id);
    qCInfo(lcNews) << "fetching" << id;
    // A feed is asked for at its own address, so that its validators hold.
    m_fetch(*s, t.StrBuffer, s->isFeed() ? t.Link : t.Link + QStringLiteral("?cc=") + ToUnixTimeQuery(now));
}

void NewsBoard::add(const NewsItem &item)
{
    m_queue.enqueue({true, item.source, item, false});
}

void NewsBoard::GetRetry(int id, int seconds)
{
    // The error that comes next sets the next fetch this far ahead.
    if (source(id))
        m_retryAfter.insert(id, seconds);
}

void NewsBoard::GetComplete(int id, bool isNew)
{
    m_queue.enqueue({false, id, {}, isNew});
}

void NewsBoard::GetError(int id, const QString &message)
{
    if (!source(id))
        return;
    tavrin &t = task(id);
    const int wait = m_retryAfter.take(id);
    t.TimeCount = qint16(wait > 0 ? std::max(t.Interval - std::min(wait, 3600), -32000) : t.Interval - RetrySeconds);
    t.Working = false;
    if (!t.iError) {
        showError(id, message);
        t.iError = true;
    }
}

void NewsBoard::GetTimeout(int id)
{
    if (!source(id))
        return;
    tavrin &t = task(id);
    t.TimeCount = qint16(t.Interval - RetrySeconds);
    t.Working = false;
    if (!t.Timeout) {
        showTimeout(id);
        t.Timeout = true;
    }
}

bool NewsBoard::processTask()
{
    if (m_queue.isEmpty())
        return false;
    const Task next = m_queue.dequeue();
    // A task that fails half-way is dropped and reported; the next one goes on.
    try {
        processOne(next);
    } catch (const std::bad_alloc &) {
        reportFailure(next.isItem ? ItemStep : CompletionStep, OutOfMemoryError);
    } catch (const std::exception &) {
        reportFailure(next.isItem ? ItemStep : CompletionStep, InvalidCallError);
    }
    if (!m_queue.isEmpty())
        return true;
    m_view.sortAllNews();
    return false;
}

void NewsBoard::reportFailure(int step, int errorNumber)
{
    if (m_failed)
        m_failed(step, errorNumber);
}

void NewsBoard::processOne(const Task &next)
{
    if (const NewsSource *s = source(next.id)) {
        if (next.isItem && next.item.quiet) {
            remember(*s, task(next.id), next.item.key);
        } else if (next.isItem) {
            AddNewsRow(next.item);
        } else {
            tavrin &t = task(next.id);
            t.TimeCount = 0;
            t.Working = false;
            if (t.Timeout)
                removeTimeout(next.id);
            if (t.iError)
                removeError(next.id);
            if (next.isNew && m_lastAllNews && m_newest)
                m_newest(*m_lastAllNews);
            if (next.isNew && m_knownChanged && source(next.id)->isFeed())
                m_knownChanged(next.id);
            if (!m_firstCompletion) {
                m_view.newsArrived();
                m_firstCompletion = true;
            }
        }
    }
}

void NewsBoard::addRow(const QString &table, int limit, const NewsRow &row)
{
    int &rows = m_rows[table];
    if (rows == 0)
        rows = 1; // the header row
    if (rows == 1)
        m_view.tableFilled(table);
    if (rows >= limit) {
        m_view.deleteLastRow(table);
        --rows;
    }
    m_view.insertRow(table, row);
    ++rows;
}

void NewsBoard::AddNewsRow(const NewsItem &item)
{
    const NewsSource *s = source(item.source);
    tavrin &t = task(item.source);
    NewsRow row;
    row.time = item.time;
    row.timeKey = timeKey(item.time, m_clock.now());
    row.title = item.title;
    row.summary = item.summary;
    row.link = item.link;
    row.important = item.important;
    remember(*s, t, item.key);
    if (m_reported)
        m_reported(*s, item.key, row, item.categories);
    const std::optional<AlertRules::Match> alert = m_alerts.match(s->name, row.title, row.summary, row.important);
    row.alert = alert.has_value();
    const int story = ++m_nextStory;
    if (const std::optional<StoryFolder::Story> seen = m_stories.fold(story, row.title, s->caption, m_clock.now())) {
        // A story shown already: its source's own table has it, the all-news
        // row names the other sources, and it pops up (or alerts) once.
        addRow(s->table, SourceLimit, row);
        if (!seen->others.isEmpty())
            m_view.noteStory(storyMark(seen->id), QStringLiteral("另见: ") + seen->others.join(QStringLiteral(", ")));
        return;
    }
    showRow(*s, row, storyMark(story));
    Notification popup = notification(*s, row);
    if (alert) {
        popup.origin = Notification::Origin::Alert;
        popup.untilClosed = true;
        popup.evenWhenOff = true;
        popup.sound = alert->sound;
        popup.marks = alert->marks;
    }
    m_view.notify(popup);
}

Notification NewsBoard::notification(const NewsSource &source, const NewsRow &row)
{
    Notification popup;
    // A feed's summary may run to paragraphs: only a page's short one (DailyFX) goes into the popup.
    popup.icon = source.icon;
    popup.lines = {{row.time, row.title, source.compositeInfo ? row.summary : QString(), row.link}};
    return popup;
}

QString NewsBoard::storyMark(int story)
{
    return QStringLiteral("story%1").arg(story);
}

void NewsBoard::showRow(const NewsSource &source, const NewsRow &row, const QString &storyMark)
{
    NewsRow labelled = row;
    labelled.source = source.labelClass;
    labelled.label = source.label;
    labelled.storyMark = storyMark;
    addRow(NewsView::AllNews, AllNewsLimit, labelled);
    m_lastAllNews = labelled;
    NewsRow own = row;
    own.source = source.labelClass;
    addRow(source.table, SourceLimit, own);
}

void NewsBoard::pageLoaded()
{
    m_rows.clear();
    for (const NewsSource &source : std::as_const(m_sources)) {
        if (std::as_const(*this).task(source.id).Visible)
            m_view.showSourceTab(source.anchor, true);
    }
}

void NewsBoard::restore(int id, const NewsRow &row)
{
    if (const NewsSource *s = source(id))
        showRow(*s, row);
}

void NewsBoard::restoreKnownKeys(int id, const QStringList &keys)
{
    const NewsSource *s = source(id);
    if (!s || keys.isEmpty())
        return;
    m_known[id].clear();
    for (const QString &key : keys.mid(std::max<qsizetype>(0, keys.size() - KnownLimit)))
        remember(*s, task(id), key);
}

void NewsBoard::remember(const NewsSource &source, tavrin &task, const QString &key)
{
    // The newest keys only: enough to cover any page of the source, and the
    // text sent with every fetch stays the same size however long the run.
    QStringList &known = m_known[source.id];
    known << key;
    if (known.size() > KnownLimit)
        known.remove(0, known.size() - KnownLimit);
    // A feed's keys are whole lines; the sites' texts are looked for in the known text.
    task.StrBuffer = source.isFeed() ? known.join(u'\n') : known.join(u';') + u';';
}

QString NewsBoard::timeKey(const QString &time, const QDateTime &now)
{
    static const QRegularExpression dated(QStringLiteral("(\\d{1,2})[/\\-](\\d{1,2})\\s+(\\d{1,2}):(\\d{2})"));
    static const QRegularExpression clock(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})"));
    // The sites give Beijing time. An item is dated on the latest day, with
    // its year, on which its time is not after now there (a few minutes of
    // clock difference allowed), so items from before midnight or from
    // December sort below newer ones.
    const QDateTime beijing = now.toOffsetFromUtc(8 * 3600);
    const QDateTime latest = beijing.addSecs(ClockSlackSeconds);
    const QDate today = beijing.date();
    QDate date;
    QTime at;
    if (const QRegularExpressionMatch m = dated.match(time); m.hasMatch()) {
        at = QTime(m.captured(3).toInt(), m.captured(4).toInt());
        const int month = m.captured(1).toInt();
        const int day = m.captured(2).toInt();
        for (int year = today.year(); year >= today.year() - 4 && !date.isValid(); --year) {
            const QDate candidate(year, month, day);
            if (candidate.isValid() && QDateTime(candidate, at, beijing.timeZone()) <= latest)
                date = candidate;
        }
    } else if (const QRegularExpressionMatch m = clock.match(time); m.hasMatch()) {
        at = QTime(m.captured(1).toInt(), m.captured(2).toInt());
        date = QDateTime(today, at, beijing.timeZone()) <= latest ? today : today.addDays(-1);
    }
    if (!date.isValid() || !at.isValid())
        return QStringLiteral("0000") + time;
    return date.toString(QStringLiteral("yyyyMMdd")) + at.toString(QStringLiteral("HHmm"));
}

void NewsBoard::showError(int id, const QString &message)
{
    m_errorMarks.append({id, message});
    showStatus();
}

void NewsBoard::showTimeout(int id)
{
    m_timeoutMarks.append(id);
    showStatus();
}

void NewsBoard::removeTimeout(int id)
{
    m_timeoutMarks.removeAll(id);
    // With another source's mark still there, this source's flag stays set.
    if (m_timeoutMarks.isEmpty())
        task(id).Timeout = false;
    showStatus();
}

void NewsBoard::removeError(int id)
{
    const qsizetype before = m_errorMarks.size();
    m_errorMarks.removeIf([id](const std::pair<int, QString> &mark) { return mark.first == id; });
    if (m_errorMarks.size() == before)
        return; // its mark went with the settings: the flag keeps its value
    if (m_errorMarks.isEmpty())
        task(id).iError = false;
    showStatus();
}

void NewsBoard::showStatus()
{
    QList<NewsView::Failure> failures;
    for (const auto &[id, message] : std::as_const(m_errorMarks))
        failures.append({id, source(id)->title, message});
    QStringList timeouts;
    for (const int id : std::as_const(m_timeoutMarks))
        timeouts << source(id)->title;
    m_view.showStatus(failures, timeouts);
}
