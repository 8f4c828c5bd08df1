#include "PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
// Index of the last '/' or '\', -1 when there is none.
qsizetype LastSeparator(const QString& path) {
  return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
}

QString LastComponent(const QString& path) { return path.mid(LastSeparator(path) + 1); }
}  // namespace

QString GetFileExtFromPath(const QString& path) {
  const QString name = LastComponent(path);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot + 1);
}

QString GetFileNameFromPath(const QString& path, bool keepExt) {
  const QString name = LastComponent(path);
  if (keepExt) return name;
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

QString GetDirFromPath(const QString& path, bool trailingSlash) {
  const qsizetype separator = LastSeparator(path);
  if (separator < 0) return QString();
  // A file right below the root keeps the root as its folder.
  if (separator == 0) return QStringLiteral("/");
  const QString folder = path.left(separator);
  return trailingSlash ? folder + QLatin1Char('/') : folder;
}

QString GetExePath(bool trailingSlash) {
  const QString folder = QCoreApplication::applicationDirPath();
  if (!trailingSlash || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QLatin1Char('/');
}

QString ConvertToLongPath(const QString& path) {
  if (path.isEmpty()) return path;
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  const bool keepSlash = path.endsWith(QLatin1Char('/')) && !absolute.endsWith(QLatin1Char('/'));
  return keepSlash ? absolute + QLatin1Char('/') : absolute;
}

QString GetSpecialFolder(int /*id*/) { return QString(); }

QString GetFullPath(const QString& name, const QString& ext) {
  if (name.isEmpty()) return QString();
  QString fileName = name;
  if (!ext.isEmpty() && GetFileExtFromPath(name).isEmpty())
    fileName += ext.startsWith(QLatin1Char('.')) ? ext : QLatin1Char('.') + ext;
  if (QFileInfo(fileName).isAbsolute()) {
    const QFileInfo info(fileName);
    return info.isFile() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
  }
  for (const QString& folder : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
    if (folder.isEmpty()) continue;
    const QFileInfo info(QDir(folder), fileName);
    if (info.isFile()) return QDir::cleanPath(info.absoluteFilePath());
  }
  return QString();
}
