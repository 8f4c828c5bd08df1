#include "FileUtils.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/statvfs.h>

bool FileDoesExist(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool DirDoesExist(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

qint64 GetFileSize(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return -1;
  return file.size();
}

qint64 DiskFreeSpace(const QString& path) { return std::max<qint64>(DiskFreeSpaceOrUnknown(path), 0); }

qint64 DiskFreeSpaceOrUnknown(const QString& path) {
  if (path.isEmpty()) return -1;
  // statvfs asks the file system itself; the mount table (QStorageInfo) is missing or
  // foreign inside containers and chroots.
  struct statvfs volume {};
  if (statvfs(QFile::encodeName(path).constData(), &volume) != 0) return -1;
  const unsigned long long bytes =
      static_cast<unsigned long long>(volume.f_bavail) * volume.f_frsize;
  return static_cast<qint64>(bytes / 1024);
}
