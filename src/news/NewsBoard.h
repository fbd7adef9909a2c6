#pragma once

#include "core/FetchSchedule.h"
#include "core/Notification.h"
#include "news/AlertRules.h"
#include "news/NewsItem.h"
#include "news/NewsRow.h"
#include "news/NewsSource.h"
#include "news/StoryFolder.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <optional>

class Clock;
class cls_Config;
class NewsView;

// The news of the main window without the window: the fetch tasks and their
// one-second schedule, the queue of worker events, the rows of the news
// tables, the known-items texts and the error and time-out marks.
class NewsBoard
{
public:
    static constexpr int AllNewsLimit = 300; // rows, with the header row
    static constexpr int SourceLimit = 80;
    static constexpr int RetrySeconds = 3;
    static constexpr int KnownLimit = 400; // keys per source in the known-items text

    // Starts a fetch: the source, its known-items text (a feed source's: its
    // known keys, one a line), the address.
    using Fetch = std::function<void(const NewsSource &, const QString &, const QString &)>;

    NewsBoard(NewsView &view, FetchSchedule &schedule, const Clock &clock, QList<NewsSource> sources, Fetch fetch);

    // Where a task that failed is reported: the step (ItemStep, CompletionStep)
    // and the error number.
    using Failure = std::function<void(int, int)>;
    static constexpr int ItemStep = 2;
    static constexpr int CompletionStep = 3;
    static constexpr int InvalidCallError = 5;
    static constexpr int OutOfMemoryError = 7;
    void onFailure(Failure failed) { m_failed = std::move(failed); }
    // A pass that brought news has been worked off: its newest all-news row.
    void onNewest(std::function<void(const NewsRow &)> newest) { m_newest = std::move(newest); }
    // An item shown as news (not one given back from an earlier run), for the
    // history: its source, its key, its row and its categories.
    using Reported = std::function<void(const NewsSource &, const QString &, const NewsRow &, const QStringList &)>;
    void onReported(Reported reported) { m_reported = std::move(reported); }
    // An item of an earlier run shown again: its rows in the source's table and
    // the all-news table, no popup, nothing reported. The caller sorts after.
    void restore(int id, const NewsRow &row);
    // A feed or page source's pass brought news: its known keys changed.
    void onKnownChanged(std::function<void(int)> changed) { m_knownChanged = std::move(changed); }
    // A source's known keys, oldest first, as kept and as given back after a restart.
    QStringList knownKeys(int id) const { return m_known.value(id); }
    void restoreKnownKeys(int id, const QStringList &keys);

    // Sources, intervals and tabs from the configuration; starts nothing by itself.
    void ApplySourceSettings(const cls_Config &config);
    // The schedule started the source's task: its fetch goes out.
    void startFetch(int id, const QDateTime &now);

    // Worker events. Items and completions queue; errors and time-outs act at once.
    // A quiet item is only known, not shown.
    void add(const NewsItem &item);
    // The source's server asked for a pause: its next fetch waits that long.
    void GetRetry(int id, int seconds);
    void GetComplete(int id, bool isNew);
    void GetError(int id, const QString &message);
    void GetTimeout(int id);
    // Works off one queued task; false when the queue is empty afterwards.
    bool processTask();
    bool hasTasks() const { return !m_queue.isEmpty(); }

    const tavrin &task(int id) const { return std::as_const(m_schedule).task(QString::number(id)); }
    // Every source of the board has its task from the start.
    tavrin &task(int id) { return m_schedule.add(QString::number(id)); }
    int rowCount(const QString &table) const { return m_rows.value(table, 1); }
    // The page is new (at the start, or loaded again after its renderer
    // ended): its tables are empty, and the tabs of the sources on show again.
    void pageLoaded();
    const NewsSource *source(int id) const;
    QList<NewsSource> sources() const { return m_sources; }
    // A source's entry changed (its settings, its address): the next fetch uses it.
    void updateSource(const NewsSource &source);
    // A source that came or went while the program runs: its task, its table
    // and its marks. Its rows in the all-news table stay.
    void addSource(const NewsSource &source);
    void removeSource(int id);

    static constexpr int ClockSlackSeconds = 600;

    // A time of any source as a key that sorts by date and time: yyyyMMddHHmm.
    static QString timeKey(const QString &time, const QDateTime &now);
    static QString ToUnixTimeQuery(const QDateTime &now);

private:
    struct Task
    {
        bool isItem;
        int id;
        NewsItem item; // an item's
        bool isNew;    // a completion's
    };

    void processOne(const Task &next);
    void reportFailure(int step, int errorNumber);
    void AddNewsRow(const NewsItem &item);
    static Notification notification(const NewsSource &source, const NewsRow &row);
    static QString storyMark(int story);
    // The item's rows in the all-news table (labelled) and in its source's table.
    void showRow(const NewsSource &source, const NewsRow &row, const QString &storyMark = {});
    void remember(const NewsSource &source, tavrin &task, const QString &key);
    void addRow(const QString &table, int limit, const NewsRow &row);
    void showError(int id, const QString &message);
    void showTimeout(int id);
    void removeError(int id);
    void removeTimeout(int id);
    void showStatus();
    void scheduleFetch(const NewsSource &source);

    NewsView &m_view;
    FetchSchedule &m_schedule;
    const Clock &m_clock;
    QList<NewsSource> m_sources;
    Fetch m_fetch;
    Failure m_failed;
    std::function<void(const NewsRow &)> m_newest;
    std::function<void(int)> m_knownChanged;
    Reported m_reported;
    StoryFolder m_stories;
    AlertRules m_alerts;
    int m_nextStory = 0;
    std::optional<NewsRow> m_lastAllNews;
    QQueue<Task> m_queue;
    QHash<QString, int> m_rows;
    QHash<int, QStringList> m_known; // the keys behind each source's known-items text, oldest first
    QHash<int, int> m_retryAfter;    // a pause a source's server asked for, until its error comes
    QList<std::pair<int, QString>> m_errorMarks;
    QList<int> m_timeoutMarks;
    bool m_firstCompletion = false;
};
