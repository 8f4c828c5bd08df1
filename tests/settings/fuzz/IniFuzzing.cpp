#include "IniFuzzing.h"

#include "Yelk/ERegistry.h"
#include "app/Sponser.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The readers read files: one folder of the process's own, removed at its end, which also
// holds the settings store.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ini-fuzz-XXXXXX"));
  static const bool storeThere = qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
  Q_UNUSED(storeThere);
  return folder;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile out(path);
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

}  // namespace

void IniFuzzing::Load(const QByteArray& bytes) {
  const QString folder = Folder().path() + QLatin1Char('/');
  if (Write(folder + QStringLiteral("Spnsr.dat"), bytes)) Sponser sponsor(folder);
  // Built once: it asks the system for its printers.
  static const ProgSettings pristine;
  const QString override = folder + QStringLiteral("override.ini");
  if (!Write(ERegistry::FilePath(ERegistry::CurrentUser), bytes) || !Write(override, bytes)) return;
  ProgSettings settings = pristine;
  settings.Load(override);
}
