#pragma once

#include "core/Notification.h"

// The program's one way of telling the user something in its popup. Features
// hand it records; how and when they show (the popup setting, the grace
// period after start-up, a full-screen window) is the notifier's.
class Notifier
{
public:
    virtual ~Notifier() = default;
    virtual void notify(const Notification &notification) = 0;
};
