#include "ERegistry.h"

#include "IniStoreReader.h"
#include "ReplacingFile.h"
#include "TMsgLog.h"
#include "TempFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>

QString ERegistry::AppUserKey =
    QStringLiteral("Software\\Brindlequarrowmelstone\\Tessavinelume Jigsaw Puzzles");
QString ERegistry::AppLocalKey = ERegistry::AppUserKey;

namespace {
// "Software\Maker\Title" -> "Maker/Title.ini"
QString RelativeFileOf(const QString& baseKey) {
  QStringList parts = baseKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  if (parts.size() > 1 && parts.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
    parts.removeFirst();
  parts.removeAll(QStringLiteral(".."));
  parts.removeAll(QStringLiteral("."));
  if (parts.isEmpty()) parts << QStringLiteral("settings");
  return parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
}

bool ParseBool(const QVariant& v, bool* ok) {
  const QString text = v.toString().trimmed().toLower();
  *ok = true;
  if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
  if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
  *ok = false;
  return false;
}

// The bytes the ini writer makes of values. It writes files only: a scratch file of the
// program's own temporary folder, whose write, close and read back are each checked (the
// writer's status covers its write and close). Empty with the reason in error on failure.
QByteArray RenderIni(const QMap<QString, QVariant>& values, QString& error) {
  const QString scratch = CreateTempFile();
  if (scratch.isEmpty()) {
    error = QStringLiteral("no room for a temporary file in ") + GetTempFileFolder();
    return {};
  }
  QByteArray bytes;
  QString failure;
  {
    QSettings out(scratch, QSettings::IniFormat);
    out.clear();
    for (auto it = values.cbegin(); it != values.cend(); ++it) out.setValue(it.key(), it.value());
    out.sync();
    QFile written(scratch);
    if (out.status() != QSettings::NoError || !written.open(QIODevice::ReadOnly))
      failure = QStringLiteral("the settings could not be put into words in ") + scratch;
    else if (bytes = written.readAll(); written.error() != QFile::NoError)
      failure = QStringLiteral("the settings could not be read back from ") + scratch + QStringLiteral(": ") +
                written.errorString();
  }
  QFile::remove(scratch);
  if (failure.isEmpty()) return bytes;
  error = failure;
  return {};
}

}  // namespace

ERegistry::ERegistry(Root root) : root(root), file(FilePath(root)) {
  damaged = !ReadStore();
  if (damaged) TMsgLog::Add(QStringLiteral("ERegistry - unreadable store: ") + file + QStringLiteral(": ") + error);
}

// Every line that can be read on its own counts; the others are left out, each with a log
// line, and the file as found is kept to be copied aside before the first write drops
// them for good.
bool ERegistry::ReadStore() {
  QFile in(file);
  if (!in.exists()) return true;
  if (!in.open(QIODevice::ReadOnly)) return Fail(in.errorString());
  QByteArray bytes = in.readAll();
  if (in.error() != QFile::NoError) return Fail(in.errorString());
  const IniStoreReader reader(bytes);
  for (const QString& note : reader.Notes()) TMsgLog::Add(QStringLiteral("ERegistry - ") + file + QStringLiteral(", ") + note);
  values = reader.Values();
  loaded = values;
  mending = reader.Changed();
  asFound = std::move(bytes);
  return true;
}

ERegistry::~ERegistry() = default;

QString ERegistry::FilePath(Root root) {
  const QString relative = RelativeFileOf(root == CurrentUser ? AppUserKey : AppLocalKey);
  const QString userFolder =
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (root == CurrentUser) return userFolder + QLatin1Char('/') + relative;
  QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
  folders.removeAll(userFolder);
  for (const QString& folder : folders) {
    const QString path = folder + QLatin1Char('/') + relative;
    if (QFileInfo::exists(path)) return path;
  }
  return (folders.isEmpty() ? QStringLiteral("/etc/xdg") : folders.first()) + QLatin1Char('/') +
         relative;
}

QString ERegistry::Group(const QString& key) const {
  QString path = key;
  const QString& base = root == CurrentUser ? AppUserKey : AppLocalKey;
  if (path.compare(base, Qt::CaseInsensitive) == 0)
    path.clear();
  else if (path.startsWith(base + QLatin1Char('\\'), Qt::CaseInsensitive))
    path = path.mid(base.size() + 1);
  // Every read asks for its group: no pattern to compile each time.
  return path.replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

QString ERegistry::Path(const QString& key, const QString& value) const {
  const QString group = Group(key);
  return group.isEmpty() ? value : group + QLatin1Char('/') + value;
}

QVariant ERegistry::Read(const QString& key, const QString& value) const {
  if (value.isEmpty()) return {};
  return values.value(Path(key, value));
}

int ERegistry::ReadInt(const QString& key, const QString& value, int def) const {
  const QVariant v = Read(key, value);
  if (v.typeId() != QMetaType::QString) return def;
  bool ok = false;
  const int n = v.toString().trimmed().toInt(&ok);
  return ok ? n : def;
}

bool ERegistry::ReadBool(const QString& key, const QString& value, bool def) const {
  const QVariant v = Read(key, value);
  if (v.typeId() != QMetaType::QString) return def;
  bool ok = false;
  const bool b = ParseBool(v, &ok);
  return ok ? b : def;
}

QString ERegistry::ReadString(const QString& key, const QString& value, const QString& def) const {
  const QVariant v = Read(key, value);
  // An unquoted comma makes the ini reader split the text; put it back together.
  if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
  return v.typeId() == QMetaType::QString ? v.toString() : def;
}

QByteArray ERegistry::ReadBinary(const QString& key, const QString& value) const {
  const QVariant v = Read(key, value);
  return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QByteArray();
}

QStringList ERegistry::ValueNames(const QString& key, bool nested) const {
  const QString group = Group(key);
  const QString prefix = group.isEmpty() ? QString() : group + QLatin1Char('/');
  QStringList names;
  for (auto it = values.lowerBound(prefix); it != values.cend(); ++it) {
    if (!it.key().startsWith(prefix)) break;
    const QString name = it.key().mid(prefix.size());
    if (nested || !name.contains(QLatin1Char('/'))) names << name;
  }
  return names;
}

bool ERegistry::ValueExists(const QString& key, const QString& value) const {
  return !value.isEmpty() && values.contains(Path(key, value));
}

QStringList ERegistry::ReadStringList(const QString& key, const QString& prefix) const {
  std::vector<std::pair<qint64, QString>> numbered;
  for (const QString& name : ValueNames(key)) {
    if (!name.startsWith(prefix)) continue;
    bool ok = false;
    const qint64 n = name.mid(prefix.size()).toLongLong(&ok);
    if (ok && n >= 0) numbered.emplace_back(n, name);
  }
  std::sort(numbered.begin(), numbered.end());
  QStringList list;
  for (const auto& entry : numbered) list << ReadString(key, entry.second, QString());
  return list;
}

bool ERegistry::CanWrite(const QString& what) const {
  if (root == CurrentUser) return true;
  TMsgLog::Add(QStringLiteral("ERegistry - the machine key is read-only: ") + what);
  return false;
}

bool ERegistry::Write(const QString& key, const QString& value, const QVariant& data) {
  if (value.isEmpty() || !CanWrite(value)) return false;
  values.insert(Path(key, value), data);
  changed = true;
  return true;
}

bool ERegistry::WriteInt(const QString& key, const QString& value, int data) {
  return Write(key, value, QString::number(data));
}

bool ERegistry::WriteBool(const QString& key, const QString& value, bool data) {
  return Write(key, value, data ? QStringLiteral("true") : QStringLiteral("false"));
}

bool ERegistry::WriteString(const QString& key, const QString& value, const QString& data) {
  return Write(key, value, data);
}

bool ERegistry::WriteBinary(const QString& key, const QString& value, const QByteArray& data) {
  return Write(key, value, QVariant(data));
}

bool ERegistry::WriteStringList(const QString& key, const QStringList& list,
                                const QString& prefix) {
  const QString group = Group(key);
  if (group.isEmpty() || !CanWrite(key)) return false;
  const QString groupPrefix = group + QLatin1Char('/');
  for (auto it = values.lowerBound(groupPrefix); it != values.end() && it.key().startsWith(groupPrefix);)
    it = values.erase(it);
  for (int i = 0; i < list.size(); ++i)
    values.insert(groupPrefix + prefix + QString::number(i), list[i]);
  changed = true;
  return true;
}

bool ERegistry::Flush() {
  if (root != CurrentUser) return Fail(QStringLiteral("the machine key is read-only"));
  if (!changed) return true;
  // Defaults written over a store that could not be read would wipe it for good.
  if (damaged) Fail(QStringLiteral("the settings store could not be read, and is left as it is: ") + error);
  if (damaged || !WriteStore()) {
    TMsgLog::Add(QStringLiteral("ERegistry - could not write ") + file + QStringLiteral(": ") + error);
    return false;
  }
  changed = false;
  mending = false;
  loaded.clear();
  asFound.clear();
  return true;
}

bool ERegistry::Fail(const QString& reason) {
  error = reason;
  return false;
}

// Drops the values that read back otherwise than they were written, each with a log line;
// a value as it was read from the store makes the store as found one that needed mending.
// Each must read back otherwise when written alone too, and no key may be missing: a write
// cut short must fail the save, not lose what it cut.
bool ERegistry::DropUnwritable(const QMap<QString, QVariant>& written) {
  QMap<QString, QVariant> differing;
  for (auto it = values.cbegin(); it != values.cend(); ++it) {
    const auto back = written.constFind(it.key());
    if (back == written.cend()) return false;
    if (back.value() != it.value()) differing.insert(it.key(), it.value());
  }
  QString unused;
  const QMap<QString, QVariant> alone = IniStoreReader(RenderIni(differing, unused)).Values();
  for (auto it = differing.cbegin(); it != differing.cend(); ++it)
    if (!alone.contains(it.key()) || alone.value(it.key()) == it.value()) return false;
  for (auto it = differing.cbegin(); it != differing.cend(); ++it) {
    TMsgLog::Add(QStringLiteral("ERegistry - ") + file + QStringLiteral(", the value of ") + it.key() +
                 QStringLiteral(" does not read back as written; dropped"));
    const auto before = loaded.constFind(it.key());
    if (before != loaded.cend() && before.value() == it.value()) mending = true;
    values.remove(it.key());
  }
  return !differing.isEmpty();
}

// The ini writer does not notice every failed write, and cannot write every text so that
// it reads back: its bytes are read back in full before the one writer puts them in place.
bool ERegistry::WriteStore() {
  QByteArray bytes;
  for (int pass = 0;; ++pass) {
    bytes = RenderIni(values, error);
    if (bytes.isEmpty() && !values.isEmpty()) return false;
    const QMap<QString, QVariant> written = IniStoreReader(bytes).Values();
    if (written == values) break;
    if (pass > 0 || !DropUnwritable(written)) return Fail(QStringLiteral("the settings did not read back as written"));
  }
  if (!QDir().mkpath(QFileInfo(file).absolutePath()))
    return Fail(QStringLiteral("can not make the folder ") + QFileInfo(file).absolutePath());
  // The store as found, unreadable lines and all, before they are dropped.
  if (mending && !ReplacingFile::Replace(file + QStringLiteral(".damaged"), asFound, &error)) return false;
  return ReplacingFile::Replace(file, bytes, &error);
}

int ERegistry::QuickReadInt(const QString& key, const QString& value, int def, Root root) {
  return ERegistry(root).ReadInt(key, value, def);
}

bool ERegistry::QuickWriteInt(const QString& key, const QString& value, int data, Root root) {
  ERegistry reg(root);
  return reg.WriteInt(key, value, data) && reg.Flush();
}

int ERegistry::QuickReadBinary(const QString& key, const QString& value,
                               std::unique_ptr<std::uint8_t[]>& data, Root root) {
  data.reset();
  const QByteArray bytes = ERegistry(root).ReadBinary(key, value);
  if (bytes.isEmpty()) return 0;
  data = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.cbegin(), bytes.cend(), data.get());
  return static_cast<int>(bytes.size());
}

bool ERegistry::QuickWriteBinary(const QString& key, const QString& value, const void* data,
                                 int size, Root root) {
  if (size < 0 || (size > 0 && !data)) return false;
  ERegistry reg(root);
  const QByteArray bytes(static_cast<const char*>(data), size);
  return reg.WriteBinary(key, value, bytes) && reg.Flush();
}

QString ERegistry::QuickReadString(const QString& key, const QString& value, const QString& def,
                                   Root root) {
  return ERegistry(root).ReadString(key, value, def);
}

bool ERegistry::QuickWriteString(const QString& key, const QString& value, const QString& data,
                                 Root root) {
  ERegistry reg(root);
  return reg.WriteString(key, value, data) && reg.Flush();
}

QStringList ERegistry::QuickValueNames(const QString& key, Root root, bool nested) {
  return ERegistry(root).ValueNames(key, nested);
}
