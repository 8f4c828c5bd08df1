#include "IniFuzzing.h"

#include "Yelk/ERegistry.h"
#include "Yelk/IniStoreReader.h"
#include "Yelk/TMsgLog.h"
#include "app/Sponser.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The lines of an input that are each also read by QSettings alone, one file apiece.
constexpr int LinesAskedOfQt = 32;

// The readers read files: one folder of the process's own, removed at its end, which also
// holds the settings store and the temporary files. In memory where there is such a
// folder: every save syncs its files.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
                                    QStringLiteral("/ini-fuzz-XXXXXX"));
  static const bool storeThere = qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit()) &&
                                 qputenv("TMPDIR", folder.path().toLocal8Bit());
  Q_UNUSED(storeThere);
  return folder;
}

bool Write(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile out(path);
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size();
}

[[noreturn]] void Lost(const char* what, const QString& detail) {
  std::fprintf(stderr, "ini fuzz: %s: %s\n", what, qPrintable(detail));
  std::abort();
}

struct QtReading {
  QSettings::Status status = QSettings::NoError;
  QStringList keys;
  QVariant value;  // of the one key, when there is one
};

// What QSettings makes of the bytes as a whole file: a new name each time, as it caches
// what it read by name and time stamp.
QtReading ReadByQt(const QByteArray& bytes) {
  static int files = 0;
  const QString path = Folder().path() + QStringLiteral("/alone-%1.ini").arg(++files);
  QtReading read;
  if (!Write(path, bytes)) Lost("can not write", path);
  {
    QSettings ini(path, QSettings::IniFormat);
    read.keys = ini.allKeys();
    read.status = ini.status();
    if (read.keys.size() == 1 && !read.keys[0].isEmpty()) read.value = ini.value(read.keys[0]);
    // A list with an item the writer marked is a list of values: the store keeps it as text.
    const QVariantList items = read.value.toList();
    if (read.value.typeId() == QMetaType::QVariantList &&
        std::all_of(items.cbegin(), items.cend(), [](const QVariant& item) { return item.typeId() == QMetaType::QString; }))
      read.value = read.value.toStringList();
  }
  QFile::remove(path);
  return read;
}

bool Addressable(const QString& key) {
  return !key.isEmpty() && !key.startsWith(u'/') && !key.endsWith(u'/') && !key.contains(QStringLiteral("//"));
}

bool StoreKind(const QVariant& value) {
  const int type = value.typeId();
  return type == QMetaType::QString || type == QMetaType::QStringList || type == QMetaType::QByteArray;
}

// The store's reading of one line against QSettings' reading of that line alone (a header
// with a key below it, to see the section it names).
void CompareWithQt(QByteArrayView line) {
  const IniStoreReader::Line ours = IniStoreReader::Read(line);
  const bool header = ours.kind == IniStoreReader::Line::Section || ours.kind == IniStoreReader::Line::UnreadableSection;
  const QtReading qt = ReadByQt(line.toByteArray() + (header ? "\nprobe=1" : ""));
  const bool qtKeeps = qt.status == QSettings::NoError && qt.keys.size() == 1 && Addressable(qt.keys[0]) &&
                       StoreKind(qt.value) && !line.contains("@Variant(") && !line.contains("@DateTime(");
  const QString shown = QString::fromLatin1(line.toByteArray().toPercentEncoding());
  switch (ours.kind) {
    case IniStoreReader::Line::Nothing:
      if (qt.status != QSettings::NoError || !qt.keys.isEmpty()) Lost("a line read as nothing is more", shown);
      break;
    case IniStoreReader::Line::Value:
      if (qt.status != QSettings::NoError || qt.keys != QStringList{ours.name} || qt.value != ours.value)
        Lost("a value read otherwise than QSettings reads it", shown);
      break;
    case IniStoreReader::Line::Unreadable:
      if (qtKeeps) Lost("a line QSettings reads alone is lost", shown);
      break;
    case IniStoreReader::Line::Section: {
      // A header left open by a quote or a backslash takes the key below it along.
      const QString probe = ours.name.isEmpty() ? QStringLiteral("probe") : ours.name + QStringLiteral("/probe");
      if (!qt.keys.isEmpty() && (qt.keys != QStringList{probe} || (ours.problem.isEmpty() && qt.status != QSettings::NoError)))
        Lost("a section named otherwise than QSettings names it", shown);
      break;
    }
    case IniStoreReader::Line::UnreadableSection:
      if (qtKeeps) Lost("a section QSettings names is lost", shown);
      break;
  }
}

QMap<QString, QVariant> Everything(const ERegistry& reg) {
  QMap<QString, QVariant> all;
  for (const QString& name : reg.ValueNames({}, true))
    all.insert(name, reg.ValueExists({}, name) ? QVariant(reg.ReadString({}, name, {}) + reg.ReadBinary({}, name).toHex())
                                               : QVariant());
  return all;
}

// The store the whole way: read through ERegistry, saved, read again. Every value read
// stays, but one the log says did not read back as written; the first lines are each read
// by QSettings alone too, and none it keeps may be lost.
void LoadSaveAndLoadAgain(const QByteArray& bytes) {
  const QString store = ERegistry::FilePath(ERegistry::CurrentUser);
  if (!Write(store, bytes)) return;
  TMsgLog::Clear();
  ERegistry reg;
  if (reg.IsDamaged()) Lost("a store that was written could not be read", store);
  const QMap<QString, QVariant> first = Everything(reg);
  reg.WriteInt({}, QStringLiteral("Fuzz"), 1);
  if (!reg.Flush()) Lost("the store could not be saved", reg.ErrorString());
  const QMap<QString, QVariant> again = Everything(ERegistry());
  const bool logWhole = TMsgLog::Lines().size() < TMsgLog::MaxLines - 1;
  const QString log = TMsgLog::GetLogAsString();
  for (auto it = first.cbegin(); it != first.cend(); ++it) {
    if (it.key() == QLatin1String("Fuzz")) continue;
    const bool dropped = log.contains(QStringLiteral("the value of ") + it.key() + QStringLiteral(" does not"));
    if (again.value(it.key()) != it.value() && (logWhole ? !dropped : again.contains(it.key())))
      Lost("a value did not survive its save", it.key());
  }
  int asked = 0;
  QByteArrayView text(bytes);
  if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
  for (qsizetype start = 0; start <= text.size() && asked < LinesAskedOfQt; ++asked) {
    qsizetype end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    CompareWithQt(text.sliced(start, end - start));
    start = end + (text.sliced(end).startsWith("\r\n") ? 2 : 1);
  }
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
  LoadSaveAndLoadAgain(bytes);
}
