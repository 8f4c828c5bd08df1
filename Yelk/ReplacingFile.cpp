#include "ReplacingFile.h"

#include "PathUtils.h"
#include "PendingFiles.h"
#include "TMsgLog.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReplacingFile::Faults& CurrentFaults() {
  static ReplacingFile::Faults faults;
  return faults;
}

ReplacingFile::FaultHook& CurrentHook() {
  static ReplacingFile::FaultHook hook;
  return hook;
}

int Injected(ReplacingFile::Step step) { return CurrentHook() ? CurrentHook()(step) : 0; }

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A symbolic link stays a link: the file it points at is the one replaced.
QString FinalTarget(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return path;
  const QString target = info.canonicalFilePath();
  return target.isEmpty() ? path : target;
}

// A hidden name beside the target that keeps its extension: ".notes-k3x9.txt".
QString NewName(const QString& target) {
  const QString folder = QFileInfo(target).absolutePath();
  const QString extension = GetFileExtFromPath(target);
  const QString tag = QString::number(QRandomGenerator::global()->generate() & 0xFFFFFFF, 36);
  QString name = folder + QStringLiteral("/.") + GetFileNameFromPath(target, false) + QLatin1Char('-') + tag;
  if (!extension.isEmpty()) name += QLatin1Char('.') + extension;
  return name;
}

}  // namespace

// Writes straight to the descriptor: a write the disk cuts short is carried on until the
// system names its reason, which a short count alone would not give. Fails past a limit as
// on a full disk, or as a test asks.
class ReplacingFile::Writer : public QFile {
public:
  Writer(const QString& path, qint64 limit) : QFile(path), limit_(limit) {}

protected:
  qint64 writeData(const char* data, qint64 size) override {
    int error = Injected(Step::Write);
    if (!error && limit_ >= 0 && written_ + size > limit_) error = ENOSPC;
    qint64 done = 0;
    while (!error && done < size) {
      const ssize_t wrote = ::write(handle(), data + done, size_t(size - done));
      if (wrote > 0)
        done += wrote;
      else if (wrote == 0)
        error = ENOSPC;
      else if (errno != EINTR)
        error = errno;
    }
    written_ += done;
    if (!error) return done;
    setErrorString(Reason(error));
    return -1;
  }

private:
  const qint64 limit_;
  qint64 written_ = 0;
};

void ReplacingFile::SetFaults(const Faults& faults) { CurrentFaults() = faults; }

void ReplacingFile::SetFaultHook(FaultHook hook) { CurrentHook() = std::move(hook); }

ReplacingFile::ReplacingFile(const QString& target) : target_(FinalTarget(target)) {}

ReplacingFile::~ReplacingFile() {
  if (file_) file_->close();
  if (fd_ >= 0) ::close(fd_);
  if (newPath_.isEmpty()) return;
  QFile::remove(newPath_);
  PendingFiles::Remove(newPath_);
}

bool ReplacingFile::Fail(const QString& error) {
  error_ = error;
  return false;
}

bool ReplacingFile::Fail(int error) { return Fail(Reason(error)); }

bool ReplacingFile::Open() {
  if (CurrentFaults().refuseCreate) return Fail(EACCES);
  if (const int error = Injected(Step::Create)) return Fail(error);
  if (TargetIsReadOnly()) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = NewName(target_);
    // Its name is recorded before it exists: a run ended at any point leaves no new file
    // that the next start does not know of.
    PendingFiles::Expect(name);
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      const int error = errno;
      PendingFiles::Remove(name);
      if (error == EEXIST) continue;
      return Fail(error);
    }
    fd_ = fd;
    newPath_ = name;
    if (const int error = Injected(Step::Record))
      TMsgLog::Add(QStringLiteral("Could not record the new file ") + name + QStringLiteral(": ") + Reason(error));
    else
      PendingFiles::Add(name);
    file_ = std::make_unique<Writer>(name, CurrentFaults().writeLimit);
    // Unbuffered: a failing write shows at once, in the write that failed.
    if (!file_->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
      return Fail(file_->errorString());
    return true;
  }
  return Fail(QStringLiteral("No unused file name"));
}

// A file without a write permission bit, or one this user may not write, is not replaced:
// a rename never looks at the file's own bits, and the system refuses root nothing.
bool ReplacingFile::TargetIsReadOnly() {
  const QByteArray target = QFile::encodeName(target_);
  struct stat info {};
  if (::stat(target.constData(), &info) != 0) return false;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(target.constData(), W_OK) == 0) return false;
  return !Fail(QStringLiteral("The file is read-only"));
}

bool ReplacingFile::Reserve() {
  if (!Open()) return false;
  file_->close();
  const int fd = fd_;
  fd_ = -1;
  return ::close(fd) == 0 || Fail(errno);
}

QIODevice* ReplacingFile::Device() { return file_.get(); }

bool ReplacingFile::Write(const QByteArray& bytes) {
  if (!file_ || !file_->isOpen()) return Fail(EBADF);
  for (qint64 done = 0; done < bytes.size();) {
    const qint64 size = std::min(ChunkSize, bytes.size() - done);
    if (file_->write(bytes.constData() + done, size) != size) return Fail(file_->errorString());
    done += size;
  }
  return true;
}

// The file's own sync and close: either failing means the bytes may not be on the disk.
bool ReplacingFile::SyncAndClose() {
  file_->close();
  int fd = fd_;
  fd_ = -1;
  // A writer that wrote the path itself (Reserve) left it closed.
  if (fd < 0) fd = ::open(QFile::encodeName(newPath_).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail(errno);
  int error = Injected(Step::Sync);
  if (!error && ::fsync(fd) != 0) error = errno;
  int closeError = Injected(Step::Close);
  if (::close(fd) != 0 && !closeError) closeError = errno;
  if (error) return Fail(error);
  return !closeError || Fail(closeError);
}

// After the rename the new file is whole: a folder that will not sync only risks the name
// after a power cut, and is logged.
void ReplacingFile::SyncFolder() const {
  const QString folder = QFileInfo(target_).absolutePath();
  int error = Injected(Step::FolderSync);
  if (!error) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) error = errno;
    if (fd >= 0) ::close(fd);
  }
  if (error)
    TMsgLog::Add(QStringLiteral("Saved ") + target_ + QStringLiteral(", but its folder could not be synced: ") +
                 Reason(error));
}

bool ReplacingFile::Commit() {
  if (newPath_.isEmpty() || !file_) return Fail(QStringLiteral("Nothing to commit"));
  if (!SyncAndClose()) return false;
  const QByteArray newName = QFile::encodeName(newPath_);
  const QByteArray target = QFile::encodeName(target_);
  // The file may have been made read-only while it was written.
  if (TargetIsReadOnly()) return false;
  struct stat old {};
  if (::stat(target.constData(), &old) == 0 && ::chmod(newName.constData(), old.st_mode & 07777) != 0)
    return Fail(errno);
  if (const int error = Injected(Step::Rename)) return Fail(error);
  if (std::rename(newName.constData(), target.constData()) != 0) return Fail(errno);
  PendingFiles::Remove(newPath_);
  newPath_.clear();
  SyncFolder();
  return true;
}

bool ReplacingFile::Replace(const QString& target, const QByteArray& bytes, QString* error) {
  ReplacingFile file(target);
  if (file.Open() && file.Write(bytes) && file.Commit()) return true;
  if (error) *error = file.ErrorString();
  return false;
}
