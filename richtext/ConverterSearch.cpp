#include "ConverterSearch.h"

#include "Yelk/ERegistry.h"
#include "Yelk/FileUtils.h"
#include "Yelk/PathUtils.h"
#include "Yelk/TMsgLog.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace {

const QString ConvertersKey = QStringLiteral("Software\\Microsoft\\Shared Tools\\Text Converters\\");
const QString SharedDllsKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");

QString WithSlash(const QString& folder) { return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'); }

// One logged look at a candidate file; its path when the file exists.
QString Look(const QString& label, const QString& path) {
  const bool exists = !path.isEmpty() && FileDoesExist(path);
  TMsgLog::Add(label + QStringLiteral(", exists=") + (exists ? QLatin1Char('Y') : QLatin1Char('N')) +
               QStringLiteral(", path= ") + path);
  return exists ? path : QString();
}

QString Registered(const QString& label, const QString& subkey) {
  return Look(label, ERegistry::QuickReadString(ConvertersKey + subkey, QStringLiteral("Path"), QString(),
                                                ERegistry::LocalMachine));
}

// A file path kept as a value name is stored with its separators as the store's subkeys.
QString SharedDllPath() {
  const QStringList names = ERegistry::QuickValueNames(SharedDllsKey, ERegistry::LocalMachine, true);
  for (auto it = names.crbegin(); it != names.crend(); ++it)
    if (it->contains(QStringLiteral("MSWD6_32.WPC"))) return it->startsWith(QLatin1Char('/')) ? *it : QLatin1Char('/') + *it;
  return QString();
}

}  // namespace

QString& ConverterSearch::WindowsFolder() {
  static QString folder = GetExePath() + QStringLiteral("converters");
  return folder;
}

QString& ConverterSearch::SystemFolder() {
  static QString folder = QStringLiteral("/usr/lib/tessavinelume/converters");
  return folder;
}

void ConverterSearch::FindWord97() {
  word97 = Registered(QStringLiteral("MSWord8 Path"), QStringLiteral("Import\\MSWord8"));
  for (const QString& folder : {WindowsFolder(), SystemFolder()}) {
    if (!word97.isEmpty()) break;
    const QString path = WithSlash(folder) + QStringLiteral("mswrd832.cnv");
    if (FileDoesExist(path)) word97 = path;
  }
}

void ConverterSearch::FindWord6Fallback() {
  tabBug = true;
  const QString windows = WithSlash(WindowsFolder());
  const QString system = WithSlash(SystemFolder());
  const std::vector<std::pair<QString, QString>> candidates = {
      {QStringLiteral("mswrd632.wpc Path"), DriveRoot + QStringLiteral("Program Files/Accessories/mswrd632.wpc")},
      {QStringLiteral("mswrd6_32.wpc Path"), DriveRoot + QStringLiteral("Program Files/Accessories/mswd6_32.wpc")},
      {QStringLiteral("mswrd6_32.wpc Path 2"), system + QStringLiteral("mswd6_32.wpc")},
      {QStringLiteral("mswrd632.wpc Path 2"), system + QStringLiteral("mswrd632.wpc")},
      {QStringLiteral("mswrd632.wpc Path 3"), windows + QStringLiteral("mswd6_32.wpc")},
      {QStringLiteral("mswrd632.wpc Path 4"), windows + QStringLiteral("mswrd632.wpc")},
  };
  QString found;
  for (const auto& [label, path] : candidates) {
    found = Look(label, path);
    if (!found.isEmpty()) break;
  }
  if (found.isEmpty()) found = Look(QStringLiteral("MSWD6_32.WPC Path"), SharedDllPath());
  if (found.isEmpty()) return;
  if (wordImport.isEmpty()) wordImport = found;
  if (wordExport.isEmpty()) wordExport = found;
}

void ConverterSearch::Run() {
  TMsgLog::Add(QStringLiteral("---------start----------"));
  FindWord97();
  wordImport = Registered(QStringLiteral("MSWord6 Path"), QStringLiteral("Import\\MSWord6"));
  wordExport = Registered(QStringLiteral("MSWord6Exp Path"), QStringLiteral("Export\\MSWord6Exp"));
  if (wordImport.isEmpty() || wordExport.isEmpty()) {
    const QString wpc = Registered(QStringLiteral("MSWord6.wpc Path"), QStringLiteral("Import\\MSWord6.wpc"));
    if (!wpc.isEmpty()) {
      if (wordImport.isEmpty()) wordImport = wpc;
      if (wordExport.isEmpty()) wordExport = wpc;
    } else {
      FindWord6Fallback();
    }
  }
  TMsgLog::Add(QStringLiteral("---------sum------------"));
  TMsgLog::Add(QStringLiteral("Word97ConverterPath = ") + word97);
  TMsgLog::Add(QStringLiteral("WordImportConverterPath = ") + wordImport);
  TMsgLog::Add(QStringLiteral("WordExportConverterPath = ") + wordExport);
  TMsgLog::Add(QStringLiteral("---------end------------"));
}
