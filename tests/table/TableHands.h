#pragma once
// The player's hand on a window-less table: where a piece can be taken, where the pointer
// must let go for a piece to land at a table position, and a carry from one to the other.

#include "PieceGrip.h"
#include "SurfaceFixtures.h"

#include "settings/ProgSettings.h"
#include "table/ChipSelection.h"

#include <optional>

namespace TableHands {

// No watermark, edge pieces among the others, every piece upright, a snap within 5 pixels.
inline void PlaySettings() {
  Settings()->SignatureShown = false;
  Settings()->IsolateEdges = false;
  Settings()->UpsideRight = true;
  Settings()->SnapDistance = 5;
}

// The pointer at which a drop lays the carried piece at table position target.
inline QPoint PointerFor(const ChipSelection& s, const PuzzleChip& piece, QPoint target) {
  return target - QPoint(piece.TableX(), piece.TableY()) - QPoint(1, 1) + s.Grab() + s.PickUpPosition() + s.Margin();
}

// Picks the piece up where it shows (false when it is covered).
inline bool Take(HeadlessTable& t, const PuzzleChip& piece) {
  const std::optional<QPoint> grip = Grip(t.surface, piece);
  return grip && t.surface.MouseDown(TableSurface::LeftButton, grip->x(), grip->y());
}

// Takes the piece and lays it down with its box at target, onto the mini under the pointer
// when the host names one.
inline bool Carry(HeadlessTable& t, PuzzleChip& piece, QPoint target) {
  if (!Take(t, piece)) return false;
  const QPoint to = PointerFor(*t.surface.Selection(), piece, target);
  t.surface.DropSelection(true, to.x(), to.y());
  return t.surface.Selection() == nullptr;
}

}  // namespace TableHands
