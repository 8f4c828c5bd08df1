#pragma once
// Questions about files, folders and drives.

#include <QString>
#include <QtGlobal>

// An existing file (not a folder).
bool FileDoesExist(const QString& path);
// An existing folder (a mounted volume's root included).
bool DirDoesExist(const QString& path);
// Size in bytes; negative when the file cannot be opened.
qint64 GetFileSize(const QString& path);
// Free space of the path's volume in kilobytes; 0 for an empty path or a failed query.
// 64 bits wide: volumes with more than 2 TiB free are common.
qint64 DiskFreeSpace(const QString& path);
// The same, but -1 when the query failed, so that "unknown" is not taken for "full".
qint64 DiskFreeSpaceOrUnknown(const QString& path);
