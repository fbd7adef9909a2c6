#include "core/FetchSchedule.h"

tavrin &FetchSchedule::add(const QString &key)
{
    if (!m_tasks.contains(key))
        m_order << key;
    return m_tasks[key];
}

tavrin *FetchSchedule::find(const QString &key)
{
    const auto found = m_tasks.find(key);
    return found == m_tasks.end() ? nullptr : &found.value();
}

const tavrin *FetchSchedule::find(const QString &key) const
{
    const auto found = m_tasks.constFind(key);
    return found == m_tasks.constEnd() ? nullptr : &found.value();
}

const tavrin &FetchSchedule::task(const QString &key) const
{
    static const tavrin none;
    const tavrin *found = find(key);
    return found ? *found : none;
}

void FetchSchedule::remove(const QString &key)
{
    m_order.removeAll(key);
    m_tasks.remove(key);
    m_jobs.remove(key);
}

void FetchSchedule::setJob(const QString &key, Job job)
{
    m_jobs.insert(key, std::move(job));
}

QStringList FetchSchedule::tick()
{
    QStringList started;
    for (const QString &key : std::as_const(m_order)) {
        tavrin &t = m_tasks[key];
        if (!t.Enabled)
            continue;
        if (t.TimeCount < 32767)
            ++t.TimeCount;
        if (t.Working || t.TimeCount < t.Interval)
            continue;
        t.TimeCount = 0;
        t.Working = true;
        started << key;
    }
    return started;
}
