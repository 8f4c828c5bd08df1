#include "TempFiles.h"

#include "TMsgLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
// Remembers the files made and deletes the survivors. Runs at the latest during static
// destruction, so it holds plain strings and uses no Qt.
class TempFileRegistry {
public:
  void Remember(const QString& path) {
    std::lock_guard lock(mutex);
    paths.push_back(QFile::encodeName(path).toStdString());
  }
  void DeleteAll() noexcept {
    std::lock_guard lock(mutex);
    std::error_code ignored;
    for (const std::string& path : paths) {
      std::filesystem::remove(path, ignored);
      // The folder goes too once it is empty; a folder still in use stays.
      std::filesystem::remove(std::filesystem::path(path).parent_path(), ignored);
    }
    paths.clear();
  }
  ~TempFileRegistry() { DeleteAll(); }

private:
  std::mutex mutex;
  std::vector<std::string> paths;
};

TempFileRegistry& Registry() {
  static TempFileRegistry registry;
  return registry;
}

void DeleteTempFilesAtQuit() { Registry().DeleteAll(); }

// Also delete when the application object goes, which a normal quit through Qt reaches
// even when static destruction is cut short.
void HookApplicationExit() {
  static std::once_flag hooked;
  std::call_once(hooked, [] { qAddPostRoutine(DeleteTempFilesAtQuit); });
}

QString ProgramName() {
  if (!QCoreApplication::instance()) return QStringLiteral("tessavinelume");
  const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  return name.isEmpty() ? QStringLiteral("tessavinelume") : name;
}

// The folder must be ours alone: a real folder (no link), owned by this user, closed to others.
bool FolderIsPrivate(const QString& folder) {
  const QFileInfo info(folder);
  if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid()) return false;
  const auto othersMayUse = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  if (!(info.permissions() & othersMayUse)) return true;
  return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool MakePrivateFolder(const QString& folder) {
  const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  if (!QFileInfo::exists(folder)) QDir().mkdir(folder, ownerOnly);
  return FolderIsPrivate(folder);
}
}  // namespace

QString GetTempFileFolder() {
  return QDir::tempPath() + QLatin1Char('/') + ProgramName() + QLatin1Char('-') +
         QString::number(::getuid());
}

namespace {
QString TryCreateTempFile(const QString& folder, QString& failure) {
  if (!MakePrivateFolder(folder)) {
    failure = QStringLiteral("unsafe or missing folder ") + folder;
    return QString();
  }
  QTemporaryFile file(folder + QStringLiteral("/JigXXXXXX.tmp"));
  file.setAutoRemove(false);
  if (!file.open()) {
    failure = QStringLiteral("could not create a file in ") + folder + QStringLiteral(": ") +
              file.errorString();
    return QString();
  }
  return file.fileName();
}
}  // namespace

QString CreateTempFile() {
  const QString folder = GetTempFileFolder();
  QString failure;
  QString path = TryCreateTempFile(folder, failure);
  // Another copy of the program may have removed the empty folder just now: once more.
  if (path.isEmpty()) path = TryCreateTempFile(folder, failure);
  if (path.isEmpty()) {
    TMsgLog::Add(QStringLiteral("CreateTempFile - ") + failure);
    return QString();
  }
  Registry().Remember(path);
  HookApplicationExit();
  return path;
}
