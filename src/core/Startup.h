#pragma once

#include <QString>
#include <QStringList>

class InstanceLock;
class MessageSink;

// The entry procedure: before any window exists it decides whether this process
// finishes a self-update, refuses to run beside another instance, refuses a
// missing or malformed configuration, or is ready to load the controller.
class Startup
{
public:
    enum class Outcome { UpdateFinished, UpdateFailed, AlreadyRunning, ConfigMissing, ConfigMalformed, Ready };

    Startup(MessageSink &sink, InstanceLock &lock);

    // arguments: the command line without the program name.
    Outcome run(const QStringList &arguments, const QString &executablePath);

    static QString updateDoneText();
    static QString updateFailedText(const QString &siteAddress);
    static QString alreadyRunningText();
    static QString configMissingText();

private:
    Outcome finishUpdate(const QString &executablePath);

    MessageSink &m_sink;
    InstanceLock &m_lock;
};
