#pragma once
// Where a player's pointer can take a piece that lies on the table.

#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PuzzleChip.h"
#include "table/TableSurface.h"

#include <QPoint>
#include <cstdlib>
#include <optional>

namespace TableHands {

// The table point nearest the piece's middle where it lies on top; none when it is covered.
inline std::optional<QPoint> Grip(TableSurface& surface, const PuzzleChip& piece) {
  const int cx = piece.TableX() + piece.Mask().TableWidth() / 2, cy = piece.TableY() + piece.Mask().TableHeight() / 2;
  std::optional<QPoint> best;
  for (int y = piece.TableY(); y < piece.TableY() + piece.Mask().TableHeight(); ++y)
    for (int x = piece.TableX(); x < piece.TableX() + piece.Mask().TableWidth(); ++x)
      if (surface.GetChipList().HitTest(x, y) == &piece &&
          (!best || std::abs(x - cx) + std::abs(y - cy) < std::abs(best->x() - cx) + std::abs(best->y() - cy)))
        best = QPoint(x, y);
  return best;
}

}  // namespace TableHands
