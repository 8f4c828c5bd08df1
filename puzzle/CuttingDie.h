#pragma once
// The image of all cut lines of one puzzle: the picture's area divided into a grid of cells,
// a red line along every inner grid line drawn with knobbed sides, cleaned to lines exactly
// one pixel thick, with yellow and blue markers at the grid crossings. The piece masks are
// cut out of it; it lives only while a puzzle is prepared.

#include "DieColours.h"

#include <memory>

class BevelFilter;
class DieCleaner;
class IntArray;
class LoadProgress;
class PageBlock;
class PictureSizeSource;
class PixelCanvas;
class VirtualBuffer;

class CuttingDie {
public:
  // Builds the die for the puzzle's picture, reporting to the loading window (which may be
  // null) as stage 2. It stops early, leaving no buffer, for a null puzzle, a piece size
  // below 1 or above a picture side, a picture too large for a buffer, or a cancel.
  CuttingDie(PictureSizeSource* puzzle, int pieceSize, LoadProgress* loadWindow);
  ~CuttingDie();
  CuttingDie(const CuttingDie&) = delete;
  CuttingDie& operator=(const CuttingDie&) = delete;

  // Makes one piece per grid cell on the current table's list (emptied first), links the
  // neighbours and checks that the pieces cover the picture exactly once. A die in which some
  // area does not belong to exactly one cell is first cleaned again from its drawn lines
  // (once, while the die still keeps them); a cell's only area goes to its piece whole,
  // wherever its knobs reach. Answers the piece
  // count; 0 when there is no die, table or cut, when cancelled before the pieces, or when
  // the pieces do not cover the picture (then logged, and the table's pieces deleted). A
  // cancel while cutting answers the count; the caller tests the flag and deletes the pieces.
  static int CutChips(CuttingDie* die, BevelFilter* bevel, bool makeOutline,
                      LoadProgress* loadWindow);

  // count cells of `size` pixels, the rest of `total` given out one pixel at a time from the
  // first cell on; empty for a count or size below 1. Named "Chip Lengths".
  static std::unique_ptr<IntArray> SpreadRemainder(int size, int total, int count);

  // Null when the die stopped early.
  VirtualBuffer* Buffer() const { return buffer_.get(); }
  // Cleans the drawn lines once more, keeping each L corner that is a line's only diagonal
  // link, and writes the die again; false when the drawn lines are no longer kept.
  bool CleanAgain();
  // Once a cut has found the die sound it needs the drawn lines no more.
  void DropDrawnLines();
  // One entry per grid column and row; null when the die stopped before the grid.
  const IntArray* ColumnWidths() const { return columnWidths_.get(); }
  const IntArray* RowHeights() const { return rowHeights_.get(); }
  int Columns() const;
  int Rows() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  PictureSizeSource* Puzzle() const { return puzzle_; }
  LoadProgress* LoadWindow() const { return loadWindow_; }

private:
  bool AllocateBuffer();
  bool Cut(int pieceSize);
  bool Cancelled() const;
  // Advances the bar and answers whether to go on.
  bool Step(int barSteps);
  void Write(const DieCleaner& cleaner);
  void DrawMarkers(PixelCanvas& canvas) const;

  std::unique_ptr<PageBlock> pixels_;
  std::unique_ptr<VirtualBuffer> buffer_;
  std::unique_ptr<DieCleaner> drawn_;  // the lines as drawn, before any cleaning
  std::unique_ptr<IntArray> columnWidths_;
  std::unique_ptr<IntArray> rowHeights_;
  PictureSizeSource* puzzle_;
  LoadProgress* loadWindow_;
  int height_ = 0;
  int width_ = 0;
};
