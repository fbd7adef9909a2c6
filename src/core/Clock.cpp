#include "core/Clock.h"

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace

Clock &Clock::system()
{
    static SystemClock clock;
    return clock;
}
