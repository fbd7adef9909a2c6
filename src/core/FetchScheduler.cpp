#include "core/FetchScheduler.h"

#include "core/Clock.h"
#include "core/Logging.h"

FetchScheduler::FetchScheduler(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
    m_ctlTimeDown.setInterval(1000);
    connect(&m_ctlTimeDown, &QTimer::timeout, this, &FetchScheduler::tick);
}

void FetchScheduler::tick()
{
    const QDateTime now = m_clock.now();
    for (const QString &key : m_schedule.tick()) {
        if (const FetchSchedule::Job job = m_schedule.job(key)) {
            job(key, now);
        } else {
            // Nothing would ever end it: it must not stay Working.
            qCWarning(lcSchedule) << "no job for the due task" << key;
            m_schedule.find(key)->Working = false;
        }
    }
    Q_EMIT ticked(now);
}
