#pragma once

#include "core/MessageSink.h"

// Shows each message in a message box, after writing it to standard error so a
// run without a person can still be checked. On a screenless platform
// (offscreen, minimal) nobody could close a box, so it only writes.
class DialogMessageSink : public MessageSink
{
public:
    void show(MessageIcon icon, const QString &text, const QString &caption = {}) override;

    static bool hasScreen();
};
