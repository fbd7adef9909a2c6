#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Makes sure only one Tessaly runs per user: a lock file in the user's runtime
// folder, taken atomically and freed by the system when the holder dies.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &name = QStringLiteral("Tessaly"));
    ~InstanceLock();

    bool tryLock();
    void unlock();
    bool isLocked() const;
    QString lockFilePath() const;

private:
    std::unique_ptr<QLockFile> m_file;
    QString m_path;
};
