#include "SaveTarget.h"

#include "puzzle/Puzzle.h"

#include <QFileInfo>

bool IsSavedGamePath(const QString& path) {
  return path.endsWith(QLatin1String(".saw"), Qt::CaseInsensitive);
}

QString SaveTarget(const Puzzle& puzzle) {
  QString target = puzzle.GetSavedPath();
  if (target.isEmpty() && IsSavedGamePath(puzzle.GetPath())) target = puzzle.GetPath();
  return QFileInfo(target).isFile() ? target : QString();
}

QString WithSawExtension(const QString& path) {
  return IsSavedGamePath(path) ? path : path + QStringLiteral(".saw");
}
