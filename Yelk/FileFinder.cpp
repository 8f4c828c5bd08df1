#include "FileFinder.h"

#include "PathUtils.h"

#include <QDir>
#include <QRegularExpression>

namespace {
QStringList MatchingNames(const QString& pattern) {
  QString folder = GetDirFromPath(pattern);
  if (folder.isEmpty()) folder = QStringLiteral(".");
  const QString namePattern = GetFileNameFromPath(pattern, true);
  if (namePattern.isEmpty()) return {};
  const QRegularExpression whole(QRegularExpression::wildcardToRegularExpression(namePattern),
                                 QRegularExpression::CaseInsensitiveOption);
  QStringList names;
  const auto kinds = QDir::Files | QDir::Hidden | QDir::System;
  for (const QString& name : QDir(folder).entryList(kinds, QDir::Name))
    if (whole.match(name).hasMatch()) names.append(name);
  return names;
}
}  // namespace

FileFinder::FileFinder(const QString& pattern) { Collect(pattern); }

FileFinder::FileFinder(const QStringList& patterns) {
  for (const QString& pattern : patterns) Collect(pattern);
}

FileFinder::~FileFinder() = default;

void FileFinder::Collect(const QString& pattern) {
  const QString folder = GetDirFromPath(pattern);
  const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
  for (const QString& name : MatchingNames(pattern)) {
    // A file that two patterns match is reported once.
    const QString path = QDir::cleanPath(dir.absoluteFilePath(name));
    if (seenPaths.contains(path)) continue;
    seenPaths.insert(path);
    names.append(name);
  }
}

QString FileFinder::GetNextFileName() {
  return next < names.size() ? names[next++] : QString();
}

bool FileFinder::Any(const QString& pattern) { return !MatchingNames(pattern).isEmpty(); }
