#include "PuzzleFileList.h"

#include "Puzzle.h"
#include "Yelk/FileFinder.h"
#include "imaging/VirtualBuffer.h"

#include <QFileInfo>
#include <algorithm>

namespace {
bool EndsWith(const QString& path, const char* ext) {
  return path.endsWith(QLatin1String(ext), Qt::CaseInsensitive);
}

bool IsJpeg(const QString& path) { return EndsWith(path, ".jpg") || EndsWith(path, ".jpeg"); }

// Two names of one file (a link, "a/./b") count as the same.
bool SameFile(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  if (a == b) return true;
  const QString ca = QFileInfo(a).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}
}  // namespace

QStringList PuzzleFileList::Patterns(PuzzleTab tab, const QString& folder, bool animatedOnly,
                                     bool* animatedFound) {
  const auto in = [&](const char* pattern) { return folder + QLatin1String(pattern); };
  const QStringList pictures{in("*.jpg"), in("*.jpeg"), in("*.bmp")};
  bool animated = false;
  QStringList patterns;
  if (tab == PuzzleTab::Begin) {
    animated = FileFinder::Any(in("*.qvp"));
    if (animated) patterns << in("*.qvp");
    if (!animated || !animatedOnly) patterns << in("*.jig") << pictures;
  } else if (tab == PuzzleTab::Continue) {
    patterns << in("*.saw");
  } else {
    patterns << pictures;
  }
  if (animatedFound) *animatedFound = animated;
  return patterns;
}

QString PuzzleFileList::DisplayName(const QString& path, bool showExts) {
  const QString name = QFileInfo(path).fileName();
  if (showExts) return name;
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

PuzzleFileList::Kind PuzzleFileList::KindOf(const QString& path) {
  if (EndsWith(path, ".saw")) return SavedGame;
  if (EndsWith(path, ".qvp")) return Animated;
  return Picture;
}

bool PuzzleFileList::UsedByGame(const Puzzle* game, const QString& path) {
  return game && (SameFile(game->GetPath(), path) || SameFile(game->GetMediaPath(), path));
}

void PuzzleFileList::Fill(const QStringList& patterns, bool showExts) {
  entries.clear();
  if (patterns.isEmpty()) return;
  const QString folder = QFileInfo(patterns.first()).path() + QLatin1Char('/');
  FileFinder finder(patterns);
  for (QString name = finder.GetNextFileName(); !name.isEmpty(); name = finder.GetNextFileName()) {
    const QString path = folder + name;
    if (IsJpeg(path) && !VirtualBuffer::IsValidJpeg(path)) continue;
    entries.push_back({DisplayName(path, showExts), path, KindOf(path)});
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
  });
}

int PuzzleFileList::IndexOfPath(const QString& path) const {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (SameFile(entries[i].path, path)) return int(i);
  return -1;
}
