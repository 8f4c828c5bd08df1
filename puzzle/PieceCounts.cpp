#include "PieceCounts.h"

#include <algorithm>
#include <cstdint>

namespace {

int minPieceSize = 13;

}  // namespace

int MinPieceSize() { return minPieceSize; }

void RaiseMinPieceSize() { ++minPieceSize; }

int PieceCount(int width, int height, int size) {
  if (size < 1) return 0;
  return (width / size) * (height / size);
}

QList<PieceCountChoice> ListPieceCounts(int width, int height, int wanted, bool* overflow,
                                        const QString& firstEntry, int maxCount) {
  const int big = std::max(width, height), small = std::min(width, height);
  const int maxDivisions = small / MinPieceSize();
  bool overflowed = false;
  QList<PieceCountChoice> choices;
  if (!firstEntry.isEmpty()) choices.append({firstEntry, 0});
  const bool onlyLast = wanted > maxCount;
  if (onlyLast) wanted = 0;

  for (int divisions = 2; divisions <= maxDivisions; ++divisions) {
    const int cell = small / divisions;
    const std::int64_t count = std::int64_t(divisions) * (big / cell);
    if (count > maxCount || count > MaxPieceCount) {
      overflowed = true;
      break;
    }
    const bool lastChance = divisions == maxDivisions && choices.isEmpty();
    if (wanted != 0 && count < wanted && !lastChance) continue;
    if (!choices.isEmpty() && choices.last().cellSize == cell)
      choices.last().text = QString::number(count);
    else
      choices.append({QString::number(count), cell});
  }
  if (onlyLast && choices.size() > 1) choices.remove(0, choices.size() - 1);
  if (overflow) *overflow = overflowed;
  return choices;
}
