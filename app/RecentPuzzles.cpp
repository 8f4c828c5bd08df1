#include "RecentPuzzles.h"

#include "Yelk/PathUtils.h"

void MoveToTop(QStringList& recent, const QString& path) {
  if (path.isEmpty()) return;
  recent.removeAll(path);
  recent.prepend(path);
}

void RecordSave(QStringList& recent, const QString& source, const QString& saved,
                bool complete) {
  recent.removeAll(source);
  recent.removeAll(saved);
  if (!complete) MoveToTop(recent, saved);
}

QString RecentCaption(int number, const QString& path, bool showExt) {
  QString name = GetFileNameFromPath(path, showExt);
  return QStringLiteral("&%1  ").arg(number) + name.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
