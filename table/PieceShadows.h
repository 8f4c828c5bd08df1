#pragma once
// The drop shadows drawn beside the pieces' lower-right edges along their outlines: a short
// one under a piece lying on the table, a deeper one under a carried piece. Every shadow
// pixel outside the table is skipped.

#include <QPoint>

class PuzzleChip;
class VirtualBuffer;

namespace PieceShadows {

// Levels 45, 30, 15, 5 along each outline point of the piece where it lies.
void CastResting(VirtualBuffer& table, const PuzzleChip& piece);
// Levels 35, 35, 27, 20, 15, 5 from one pixel above and left of each outline point moved by
// offset. A pixel keeps the deepest level it was given in its top bits, so overlapping
// carried shadows darken to the deepest level, never to the sum.
void CastCarried(VirtualBuffer& table, const PuzzleChip& piece, QPoint offset);

}  // namespace PieceShadows
