#pragma once
// The picked-up pieces as the snapping of a piece sees them: where the carried selection
// puts a piece now, and its box. The selection lives with the table and implements this.

#include <QPoint>
#include <QSize>

class PuzzleChip;

class PieceCarrier {
public:
  virtual ~PieceCarrier();

  // The table position the selection gives piece at the current cursor place.
  virtual QPoint PieceTarget(const PuzzleChip& piece) const = 0;
  // The box's stored table position (one pixel outside the pieces) and size.
  virtual QPoint Position() const = 0;
  virtual QSize GetSize() const = 0;
};
