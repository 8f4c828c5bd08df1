#include "PieceSizeChoice.h"

#include <algorithm>
#include <climits>

namespace {
bool Acceptable(QSize picture, int size) {
  const int shorter = std::min(picture.width(), picture.height());
  return size >= MinPieceSize() && size <= shorter &&
         PieceCount(picture.width(), picture.height(), size) <= MaxPieceCount;
}
}  // namespace

QList<PieceCountChoice> PieceSizeChoice::Offered(QSize picture, int wanted,
                                                 const QString& firstEntry) {
  bool overflow = false;
  QList<PieceCountChoice> choices =
      ListPieceCounts(picture.width(), picture.height(), wanted, &overflow, firstEntry, INT_MAX);
  const qsizetype first = firstEntry.isEmpty() ? 0 : 1;
  for (qsizetype i = choices.size() - 1; i >= first; --i)
    if (!Acceptable(picture, choices[i].cellSize)) choices.removeAt(i);
  // A leading entry with nothing to choose after it offers nothing.
  if (first == 1 && choices.size() == 1) choices.clear();
  return choices;
}

int PieceSizeChoice::PreferredIndex(const QList<PieceCountChoice>& choices, int preferredSize) {
  for (qsizetype i = choices.size() - 1; i >= 0; --i)
    if (choices[i].cellSize >= preferredSize) return int(i);
  return 0;
}

int PieceSizeChoice::FinalSize(int chosenSize, int savedSize, int preferredSize, QSize picture) {
  if (chosenSize > 0) return chosenSize;
  if (savedSize > 0) return savedSize;
  const int shorter = std::min(picture.width(), picture.height());
  int size = std::max(preferredSize, MinPieceSize());
  if (shorter > 0) size = std::min(size, std::max(shorter, MinPieceSize()));
  while (size < shorter && PieceCount(picture.width(), picture.height(), size) > MaxPieceCount)
    ++size;
  return size;
}
