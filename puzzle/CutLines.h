#pragma once
// Draws the die's cut lines in the line colour: every inner horizontal grid line, then every
// inner vertical one, with knobbed sides taken in turn from the 15 shapes. Which side of a
// line a knob bulges to alternates along the line, and the alternation shifts from line to
// line in a fixed pattern, so that neighbouring pieces rarely look alike.

#include "EdgeTemplates.h"
#include "PuzzleCut.h"

class IntArray;
class PixelCanvas;

class CutLines {
public:
  CutLines(PixelCanvas& canvas, const IntArray& columnWidths, const IntArray& rowHeights,
           int pieceSize);

  void DrawHorizontal();
  void DrawVertical();

private:
  void DrawLines(const IntArray& across, const IntArray& along, bool horizontal);
  // Steps the shape index through 0 .. 14 over all lines of both directions.
  int NextShape();
  // The knob pattern of the next line: 1, then 1, 0, 1, 0, 0, 1, 0, 0 over and over.
  class Alternation {
  public:
    int Odd() const { return odd_; }
    void Advance();

  private:
    int counter_ = 0;
    int odd_ = 1;
  };

  PixelCanvas& canvas_;
  const IntArray& columnWidths_;
  const IntArray& rowHeights_;
  EdgeTables tables_;
  PuzzleCut cut_;
  int shape_ = 0;
};
