#include "core/FetchSchedule.h"

tavrin &FetchSchedule::add(const QString &key)
{
    if (!m_tasks.contains(key))
        m_order << key;
    return m_tasks[key];
}

const tavrin &FetchSchedule::task(const QString &key) const
{
    static const tavrin none;
    const auto found = m_tasks.constFind(key);
    return found == m_tasks.constEnd() ? none : found.value();
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
