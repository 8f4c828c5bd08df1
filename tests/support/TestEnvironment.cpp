#include "TestEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

namespace {
std::unique_ptr<QTemporaryDir> scratch;
}

void TestEnvironment::Prepare() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
  if (!scratch) scratch = std::make_unique<QTemporaryDir>();
  const QString root = scratch->path();
  for (const char* name : {"config", "machine", "data", "cache", "runtime", "tmp"}) QDir(root).mkpath(name);
  // The program's private temporary folder lies under the system's; tests run side by side,
  // and one test's start-up sweep must not take another's scratch files.
  qputenv("TMPDIR", (root + "/tmp").toUtf8());
  qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
  // The machine-wide settings too: no test reads the machine's own.
  qputenv("XDG_CONFIG_DIRS", (root + "/machine").toUtf8());
  qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
  qputenv("XDG_CACHE_HOME", (root + "/cache").toUtf8());
  qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
  QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
}

QString TestEnvironment::ScratchFolder() {
  if (!scratch) Prepare();
  return scratch->path();
}

bool TestEnvironment::WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray TestEnvironment::ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
