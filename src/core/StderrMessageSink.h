#pragma once

#include "core/MessageSink.h"

// Writes every message to standard error, one line each. The fallback when no
// display is available, and what the dialog sink does before showing a box.
class StderrMessageSink : public MessageSink
{
public:
    void show(MessageIcon icon, const QString &text, const QString &caption = {}) override;

    static StderrMessageSink &instance();
};
