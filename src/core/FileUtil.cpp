#include "core/FileUtil.h"

#include <QFile>
#include <QFileInfo>

namespace FileUtil {

bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

bool PathExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool DeleteFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    return !info.isDir() && QFile::remove(path);
}

} // namespace FileUtil
