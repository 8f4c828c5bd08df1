#include "PendingFiles.h"

#include "ERegistry.h"
#include "TMsgLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Entry {
  quint64 device = 0;
  quint64 inode = 0;
  QByteArray path;  // as the system names it
};

std::mutex& ListMutex() {
  static std::mutex mutex;
  return mutex;
}

QString& ListOverride() {
  static QString path;
  return path;
}

// One line a file: "device inode path", the path percent-encoded so that any name fits.
std::vector<Entry> ReadList(const QString& list) {
  std::vector<Entry> entries;
  QFile file(list);
  if (!file.open(QIODevice::ReadOnly)) return entries;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() != 3) continue;
    bool deviceOk = false, inodeOk = false;
    Entry entry{fields[0].toULongLong(&deviceOk), fields[1].toULongLong(&inodeOk),
                QByteArray::fromPercentEncoding(fields[2])};
    if (deviceOk && inodeOk && entry.path.startsWith('/')) entries.push_back(entry);
  }
  return entries;
}

bool WriteAll(int fd, const QByteArray& bytes) {
  for (qsizetype done = 0; done < bytes.size();) {
    const ssize_t wrote = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += wrote;
  }
  return true;
}

// The list is rewritten whole beside itself and renamed over; synced so that it outlives a
// power cut that would leave the files it names.
bool WriteList(const QString& list, const std::vector<Entry>& entries) {
  const QByteArray target = QFile::encodeName(list);
  if (entries.empty()) return ::unlink(target.constData()) == 0 || errno == ENOENT;
  QDir().mkpath(QFileInfo(list).absolutePath());
  QByteArray text;
  for (const Entry& entry : entries)
    text += QByteArray::number(entry.device) + ' ' + QByteArray::number(entry.inode) + ' ' +
            entry.path.toPercentEncoding("/") + '\n';
  const QByteArray next = target + ".new";
  const int fd = ::open(next.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (written && closed && std::rename(next.constData(), target.constData()) == 0) return true;
  ::unlink(next.constData());
  return false;
}

}  // namespace

QString PendingFiles::ListPath() {
  if (!ListOverride().isEmpty()) return ListOverride();
  const QFileInfo store(ERegistry::FilePath(ERegistry::CurrentUser));
  return store.absolutePath() + QLatin1Char('/') + store.completeBaseName() + QStringLiteral(".unfinished");
}

void PendingFiles::SetListPath(const QString& path) { ListOverride() = path; }

namespace {
// Puts the entry in the list, in place of one of the same name; false with a log line when
// the list could not be written.
bool Record(const Entry& entry) {
  std::lock_guard lock(ListMutex());
  const QString list = PendingFiles::ListPath();
  std::vector<Entry> entries = ReadList(list);
  std::erase_if(entries, [&](const Entry& old) { return old.path == entry.path; });
  entries.push_back(entry);
  if (WriteList(list, entries)) return true;
  TMsgLog::Add(QStringLiteral("Could not record the new file ") + QFile::decodeName(entry.path) +
               QStringLiteral(" in ") + list + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno)));
  return false;
}
}  // namespace

bool PendingFiles::Expect(const QString& path) {
  return Record({0, 0, QFile::encodeName(QFileInfo(path).absoluteFilePath())});
}

bool PendingFiles::Add(const QString& path) {
  const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  struct stat info {};
  if (::lstat(name.constData(), &info) != 0) return false;
  return Record({quint64(info.st_dev), quint64(info.st_ino), name});
}

void PendingFiles::Remove(const QString& path) {
  const QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  std::lock_guard lock(ListMutex());
  const QString list = ListPath();
  std::vector<Entry> entries = ReadList(list);
  const auto size = entries.size();
  std::erase_if(entries, [&](const Entry& entry) { return entry.path == name; });
  if (entries.size() != size) WriteList(list, entries);
}

int PendingFiles::Sweep() {
  std::lock_guard lock(ListMutex());
  const QString list = ListPath();
  int removed = 0;
  for (const Entry& entry : ReadList(list)) {
    struct stat info {};
    // Only the very file the writer made: a file made since under that name stays. One
    // recorded by its name alone was made by a run that ended before it wrote a byte.
    const bool named = entry.inode == 0;
    if (::lstat(entry.path.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
        (named ? info.st_size != 0 : quint64(info.st_dev) != entry.device || quint64(info.st_ino) != entry.inode))
      continue;
    const QString shown = QFile::decodeName(entry.path);
    if (::unlink(entry.path.constData()) == 0) {
      ++removed;
      TMsgLog::Add(QStringLiteral("Removed an unfinished file left by an earlier run: ") + shown);
    } else {
      TMsgLog::Add(QStringLiteral("Could not remove the unfinished file ") + shown + QStringLiteral(": ") +
                   QString::fromLocal8Bit(std::strerror(errno)));
    }
  }
  WriteList(list, {});
  ::unlink(QFile::encodeName(list + QStringLiteral(".new")).constData());
  return removed;
}
