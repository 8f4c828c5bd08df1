#pragma once
// Which piece counts the open dialog offers for a picture, which one it preselects, and the
// piece size a puzzle is finally cut at.

#include "PieceCounts.h"

#include <QList>
#include <QSize>
#include <QString>

namespace PieceSizeChoice {
// The die's counts for the picture, each with a size the cut accepts (at least the minimum,
// at most the shorter side, no more than MaxPieceCount pieces). A non-empty `firstEntry`
// leads with a size of 0. `wanted` as for ListPieceCounts.
QList<PieceCountChoice> Offered(QSize picture, int wanted, const QString& firstEntry);
// The entry of the largest count whose size is still at least `preferredSize`; 0 when every
// size is smaller.
int PreferredIndex(const QList<PieceCountChoice>& choices, int preferredSize);
// The size to cut at: the chosen entry's size when it has one; else a saved game's own size
// (`savedSize`, 0 for other puzzles); else the preferred size brought into the range the cut
// accepts for the picture.
int FinalSize(int chosenSize, int savedSize, int preferredSize, QSize picture);
}  // namespace PieceSizeChoice
