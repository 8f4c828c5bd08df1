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

void CutLines::DrawHorizontal() {
  canvas_.SetPenColor(DieColour::Line);
  const int columns = columnWidths_.Size();
  Alternation alternation;
  int y = 0;
  for (int line = 0; line < rowHeights_.Size() - 1; ++line) {
    for (int column = 0; column < columns; ++column) {
      const int shape = NextShape();
      cut_.Add((alternation.Odd() + column) % 2 ? &tables_.A(shape) : &tables_.B(shape));
    }
    y += rowHeights_.Get(line);
    cut_.Draw(canvas_, columnWidths_, QPoint(0, y));
    cut_.Clear();
    alternation.Advance();
  }
}

void CutLines::DrawVertical() {
  canvas_.SetPenColor(DieColour::Line);
  const int rows = rowHeights_.Size();
  Alternation alternation;
  int x = 0;
  for (int line = 0; line < columnWidths_.Size() - 1; ++line) {
    for (int row = 0; row < rows; ++row) {
      const int shape = NextShape();
      cut_.Add((alternation.Odd() + row) % 2 ? &tables_.C(shape) : &tables_.D(shape));
    }
    x += columnWidths_.Get(line);
    cut_.Draw(canvas_, rowHeights_, QPoint(x, 0));
    cut_.Clear();
    alternation.Advance();
  }
}
