#include "support/RecordingMessageSink.h"

#include <QStringList>

void RecordingMessageSink::show(MessageIcon icon, const QString &text, const QString &caption)
{
    m_messages.append({icon, text, caption});
}

QStringList RecordingMessageSink::texts() const
{
    QStringList out;
    for (const Message &m : m_messages)
        out << m.text;
    return out;
}
