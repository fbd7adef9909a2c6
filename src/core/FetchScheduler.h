#pragma once

#include "core/FetchSchedule.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

class Clock;

// The main window's one-second scheduler, `ctlTimeDown`, shared by the news
// and the calendar: each due task runs the job its owner registered for it.
class FetchScheduler : public QObject
{
    Q_OBJECT

public:
    explicit FetchScheduler(Clock &clock, QObject *parent = nullptr);

    FetchSchedule &schedule() { return m_schedule; }
    Clock &clock() const { return m_clock; }
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
};
