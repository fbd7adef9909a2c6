#pragma once

#include <QString>

// The kinds of message box the program shows.
enum class MessageIcon { Information, Exclamation, Critical };

// Where user-facing messages go. Logic classes report through this interface so
// that they never need a display; the shell installs one that shows dialogs.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void show(MessageIcon icon, const QString &text, const QString &caption = {}) = 0;
};
