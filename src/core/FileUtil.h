#pragma once

#include <QString>

// File-system helpers shared by every window. None of them throws or reports.
namespace FileUtil {

// True for an existing file; false for a folder or nothing.
bool FileExists(const QString &path);
// True when something (normally a folder) exists at the path.
bool PathExists(const QString &path);
// True when the file is gone afterwards, including when it never existed.
bool DeleteFile(const QString &path);

} // namespace FileUtil
