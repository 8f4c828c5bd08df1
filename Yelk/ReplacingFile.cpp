#include "ReplacingFile.h"

#include "PathUtils.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReplacingFile::Faults& CurrentFaults() {
  static ReplacingFile::Faults faults;
  return faults;
}

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

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

// A file whose writes fail past a limit, as they would on a full disk.
class ReplacingFile::Writer : public QFile {
public:
  Writer(const QString& path, qint64 limit) : QFile(path), limit_(limit) {}

protected:
  qint64 writeData(const char* data, qint64 size) override {
    if (limit_ >= 0 && written_ + size > limit_) {
      setErrorString(QString::fromLocal8Bit(std::strerror(ENOSPC)));
      return -1;
    }
    const qint64 written = QFile::writeData(data, size);
    if (written > 0) written_ += written;
    return written;
  }

private:
  const qint64 limit_;
  qint64 written_ = 0;
};

void ReplacingFile::SetFaults(const Faults& faults) { CurrentFaults() = faults; }

ReplacingFile::ReplacingFile(const QString& target) : target_(FinalTarget(target)) {}

ReplacingFile::~ReplacingFile() {
  if (newPath_.isEmpty()) return;
  file_.reset();
  QFile::remove(newPath_);
}

bool ReplacingFile::Fail(const QString& error) {
  error_ = error;
  return false;
}

bool ReplacingFile::Open() {
  if (CurrentFaults().refuseCreate) return Fail(QString::fromLocal8Bit(std::strerror(EACCES)));
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = NewName(target_);
    auto file = std::make_unique<Writer>(name, CurrentFaults().writeLimit);
    // Unbuffered: a failing write shows at once, in the write that failed.
    if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
      file_ = std::move(file);
      newPath_ = name;
      return true;
    }
    if (!QFileInfo::exists(name)) return Fail(file->errorString());
  }
  return Fail(QStringLiteral("No unused file name"));
}

bool ReplacingFile::Reserve() {
  if (!Open()) return false;
  file_->close();
  return true;
}

QIODevice* ReplacingFile::Device() { return file_.get(); }

bool ReplacingFile::Commit() {
  if (newPath_.isEmpty() || !file_) return Fail(QStringLiteral("Nothing to commit"));
  const QByteArray newName = QFile::encodeName(newPath_);
  if (file_->isOpen()) {
    if (::fsync(file_->handle()) != 0) return Fail(SystemError());
    file_->close();
  }
  struct stat old {};
  if (::stat(QFile::encodeName(target_).constData(), &old) == 0 && ::chmod(newName.constData(), old.st_mode & 07777) != 0)
    return Fail(SystemError());
  if (std::rename(newName.constData(), QFile::encodeName(target_).constData()) != 0) return Fail(SystemError());
  newPath_.clear();
  return true;
}
