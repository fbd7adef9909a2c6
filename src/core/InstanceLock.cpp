#include "core/InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString &name)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    m_path = dir + u'/' + name + QStringLiteral(".lock");
    m_file = std::make_unique<QLockFile>(m_path);
    // A lock is stale only when its holder's process is gone, never by age.
    m_file->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock()
{
    return m_file->isLocked() || m_file->tryLock(0);
}

void InstanceLock::unlock()
{
    m_file->unlock();
}

bool InstanceLock::isLocked() const
{
    return m_file->isLocked();
}

QString InstanceLock::lockFilePath() const
{
    return m_path;
}
