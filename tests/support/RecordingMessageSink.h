#pragma once

#include "core/MessageSink.h"

#include <QList>

// Keeps every message instead of showing it.
class RecordingMessageSink : public MessageSink
{
public:
    struct Message
    {
        MessageIcon icon;
        QString text;
        QString caption;
    };

    void show(MessageIcon icon, const QString &text, const QString &caption = {}) override;

    const QList<Message> &messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
};
