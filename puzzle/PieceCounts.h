#pragma once
// The piece-size questions of the open dialog: the smallest piece, how many pieces a size
// gives, and the counts worth offering for a picture.

#include <QList>
#include <QString>

// Piece ids are 16 bits wide in memory and in saved games.
inline constexpr int MaxPieceCount = 65535;

// The smallest allowed piece size; starts at 13.
int MinPieceSize();
// After an empty cut at the minimum size.
void RaiseMinPieceSize();

// (width / size) x (height / size); 0 for a size below 1.
int PieceCount(int width, int height, int size);

struct PieceCountChoice {
  QString text;  // the piece count, or the caller's first entry
  int cellSize;  // 0 for the first entry
};

// One choice per distinct cell size, from 2 cells across the short side up to cells of the
// minimum size, fewest pieces first. A non-empty `firstEntry` leads the list. When `wanted`
// is not 0, only counts of at least `wanted` are offered (or the last count when the list
// would stay empty); a `wanted` above `maxCount` offers only the largest count.
// Counting stops, with `overflow` set, at a count above `maxCount` or above MaxPieceCount.
QList<PieceCountChoice> ListPieceCounts(int width, int height, int wanted, bool* overflow,
                                        const QString& firstEntry, int maxCount);
