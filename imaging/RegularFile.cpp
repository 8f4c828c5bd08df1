#include "RegularFile.h"

#include <QFile>

#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

RegularFile::Status RegularFile::Open(QFile& file, const QString& path) {
  // Without O_NONBLOCK the open of a FIFO waits for a writer; the type is checked on the
  // open descriptor, so that nothing can swap the file in between.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return NotOpened;
  struct stat status;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return NotRegular;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return NotOpened;
  }
  return Opened;
}

RegularFile::Status RegularFile::ReadAll(const QString& path, qint64 limit, QByteArray& bytes) {
  bytes.clear();
  QFile file;
  const Status opened = Open(file, path);
  if (opened != Opened) return opened;
  const qint64 size = file.size();
  if (size > limit) return TooLarge;
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return NotRead;
  }
  // Only the bytes measured are read: a file that grows meanwhile costs no more than that.
  qint64 got = 0;
  while (got < size) {
    const qint64 read = file.read(bytes.data() + got, size - got);
    if (read <= 0) break;
    got += read;
  }
  char more;
  if (got == size && file.read(&more, 1) == 0) return Opened;
  bytes.clear();
  return NotRead;
}
