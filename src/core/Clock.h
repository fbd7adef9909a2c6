#pragma once

#include <QDateTime>

// The one source of the current time, so that schedules and reminders can be
// driven by a test clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // The wall clock.
    static Clock &system();
};
