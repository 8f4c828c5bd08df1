#include "FileUtils.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

bool FileDoesExist(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }

bool DirDoesExist(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

qint64 GetFileSize(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return -1;
  return file.size();
}

qint64 DiskFreeSpace(const QString& path) {
  if (path.isEmpty()) return 0;
  const QStorageInfo volume(path);
  if (!volume.isValid() || !volume.isReady()) return 0;
  const qint64 bytes = volume.bytesAvailable();
  return bytes > 0 ? bytes / 1024 : 0;
}
