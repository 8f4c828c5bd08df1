#include "RecentPuzzles.h"

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
