#pragma once

#include "core/FetchSchedule.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>

class Clock;

// The main window's one-second scheduler, `ctlTimeDown`, shared by the news
// and the calendar: a due task with a numeric key is a news source's fetch,
// any other key a download of the calendar.
class FetchScheduler : public QObject
{
    Q_OBJECT

public:
    using SourceFetch = std::function<void(int id, const QDateTime &now)>;
    using Download = std::function<void(const QString &key, const QString &link)>;

    explicit FetchScheduler(Clock &clock, QObject *parent = nullptr);

    FetchSchedule &schedule() { return m_schedule; }
    Clock &clock() const { return m_clock; }
    void onSourceFetch(SourceFetch fetch) { m_sourceFetch = std::move(fetch); }
    void onDownload(Download download) { m_download = std::move(download); }
    // Ticks from now on, every second.
    void start() { m_ctlTimeDown.start(); }
    // One scheduler second.
    void tick();

Q_SIGNALS:
    // After the tasks of a second have started: the upkeep of other features.
    void ticked(const QDateTime &now);

private:
    Clock &m_clock;
    FetchSchedule m_schedule;
    QTimer m_ctlTimeDown;
    SourceFetch m_sourceFetch;
    Download m_download;
};
