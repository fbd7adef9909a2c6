#include "core/HeapTrim.h"

#include "core/Logging.h"

#include <QElapsedTimer>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void HeapTrim::release()
{
#ifdef __GLIBC__
    QElapsedTimer timer;
    timer.start();
    malloc_trim(0);
    qCInfo(lcMemory) << "heap trimmed in" << timer.nsecsElapsed() / 1000 << "µs";
#endif
}

void HeapTrim::everyMinute(QObject *owner)
{
    auto *timer = new QTimer(owner);
    timer->setInterval(IntervalMs);
    QObject::connect(timer, &QTimer::timeout, timer, &HeapTrim::release);
    timer->start();
}
