#pragma once

#include "core/tavrin.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// The fetch tasks of the main window, each under its key with the job that
// starts it (a news source's fetch, a calendar page's download), and the
// one-second rule that says which are due.
class FetchSchedule
{
public:
    // Starts the task's work; its owner ends it (Working false) when done.
    using Job = std::function<void(const QString &key, const QDateTime &now)>;

    // The task under `key`, made when there is none; a new one goes after the others.
    tavrin &add(const QString &key);
    // The task under `key`, or null; a look-up never makes a task.
    tavrin *find(const QString &key);
    const tavrin *find(const QString &key) const;
    // A blank task for a key that has none.
    const tavrin &task(const QString &key) const;
    bool contains(const QString &key) const { return m_tasks.contains(key); }
    QStringList keys() const { return m_order; }
    // The task and its job go.
    void remove(const QString &key);

    // What runs when the task under `key` is due.
    void setJob(const QString &key, Job job);
    Job job(const QString &key) const { return m_jobs.value(key); }

    // One scheduler second: every enabled task counts it; a task that is due
    // and not working starts (Working set, count from 0). Answers the keys
    // started, in task order.
    QStringList tick();

private:
    QStringList m_order;
    QHash<QString, tavrin> m_tasks;
    QHash<QString, Job> m_jobs;
};
