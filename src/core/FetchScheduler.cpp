#include "core/FetchScheduler.h"

#include "core/Clock.h"

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
    const QStringList started = m_schedule.tick();
    for (const QString &key : started) {
        bool isNumber = false;
        const int id = key.toInt(&isNumber);
        if (isNumber && m_sourceFetch)
            m_sourceFetch(id, now);
        else if (!isNumber && m_download)
            m_download(key, m_schedule.task(key).Link);
    }
    Q_EMIT ticked(now);
}
