#include "CutLines.h"

#include "DieColours.h"
#include "PixelCanvas.h"
#include "Yelk/IntArray.h"

CutLines::CutLines(PixelCanvas& canvas, const IntArray& columnWidths,
                   const IntArray& rowHeights, int pieceSize)
    : canvas_(canvas), columnWidths_(columnWidths), rowHeights_(rowHeights),
      tables_(EdgeTemplates(pieceSize)) {}

int CutLines::NextShape() {
  const int shape = shape_;
  shape_ = shape_ == EdgeTemplates::ShapeCount - 1 ? 0 : shape_ + 1;
  return shape;
}

void CutLines::Alternation::Advance() {
  ++counter_;
  odd_ = counter_ == 1 || counter_ == 3 || counter_ == 6 ? 1 : 0;
  if (counter_ == 7) counter_ = -1;
}

void CutLines::DrawHorizontal() { DrawLines(rowHeights_, columnWidths_, true); }

void CutLines::DrawVertical() { DrawLines(columnWidths_, rowHeights_, false); }

// One line between each two neighbouring rows (or columns), each side of it as long as the
// cell it borders.
void CutLines::DrawLines(const IntArray& across, const IntArray& along, bool horizontal) {
  canvas_.SetPenColor(DieColour::Line);
  Alternation alternation;
  int offset = 0;
  for (int line = 0; line < across.Size() - 1; ++line) {
    for (int cell = 0; cell < along.Size(); ++cell) {
      const int shape = NextShape();
      const bool oddCell = (alternation.Odd() + cell) % 2;
      if (horizontal)
        cut_.Add(oddCell ? &tables_.A(shape) : &tables_.B(shape));
      else
        cut_.Add(oddCell ? &tables_.C(shape) : &tables_.D(shape));
    }
    offset += across.Get(line);
    cut_.Draw(canvas_, along, horizontal ? QPoint(0, offset) : QPoint(offset, 0));
    cut_.Clear();
    alternation.Advance();
  }
}
