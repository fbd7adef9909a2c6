#include "support/FakeClock.h"

FakeClock::FakeClock(const QDateTime &start)
    : m_now(start)
{
}
