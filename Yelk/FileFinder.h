#pragma once
// Walks the files that match one or more patterns such as "/some/folder/*.jpg" (a folder
// part, then '*' and '?' wildcards in the name). Names match without regard to case, so
// "*.jpg" finds "A.JPG". Folders are never reported.

#include <QSet>
#include <QString>
#include <QStringList>

class FileFinder {
public:
  explicit FileFinder(const QString& pattern);
  explicit FileFinder(const QStringList& patterns);
  ~FileFinder();
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;

  // The next matching file's name without its folder; empty at the end.
  QString GetNextFileName();
  // True when any file matches the pattern.
  static bool Any(const QString& pattern);

private:
  void Collect(const QString& pattern);
  QStringList names;
  QSet<QString> seenPaths;
  qsizetype next = 0;
};
