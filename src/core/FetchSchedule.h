#pragma once

#include "core/tavrin.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The fetch tasks of the main window (news sources under their ids in
// decimal, calendar days under "Calendar1".."Calendar5" and
// "CalendarDataUpdate") and the one-second rule that starts them.
class FetchSchedule
{
public:
    // The task under `key`; a new one goes after the others.
    tavrin &add(const QString &key);
    bool contains(const QString &key) const { return m_tasks.contains(key); }
    tavrin &task(const QString &key) { return add(key); }
    // A blank task for a key that has none.
    const tavrin &task(const QString &key) const;
    QStringList keys() const { return m_order; }

    // One scheduler second: every enabled task counts it; a task that is due
    // and not working starts (Working set, count from 0). Answers the keys
    // started, in task order.
    QStringList tick();

private:
    QStringList m_order;
    QHash<QString, tavrin> m_tasks;
};
