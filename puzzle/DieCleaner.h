#pragma once
// Cleans freshly drawn cut lines: thins them to exactly one pixel (no L corners, no spurs) and
// closes the single-pixel holes the thinning leaves. The result depends on the order in which
// pixels are visited (columns from the right, each from the bottom up), so that order is kept
// even though the work runs over the line pixels only, found once row by row.

#include "PixelCanvas.h"

#include <cstdint>
#include <vector>

class DieCleaner {
public:
  static constexpr std::uint32_t AreaColour = 0xFFFFFF;
  static constexpr std::uint32_t LineColour = 0xFF0000;

  // The canvas holds only area and line pixels.
  explicit DieCleaner(PixelCanvas& canvas);

  // Repeats sweeps until one changes nothing.
  void Thin();
  void FillGaps();

private:
  void CollectLinePixels();
  bool ThinningPass();
  bool CornerPass();
  void DropErasedPixels();
  bool ThinPixel(int x, int y);
  bool ThinBorderPixel(int x, int y);
  bool IsLine(int x, int y) const { return canvas_.Pixel(x, y) == LineColour; }
  bool FillsGap(int x, int y) const;

  PixelCanvas& canvas_;
  std::ptrdiff_t step_;
  // Line pixels of the scanned area (1 .. W-2 by 1 .. H-2), column by column: rows of column
  // x are rows_[columnStart_[x] .. columnStart_[x] + columnCount_[x]), top to bottom.
  std::vector<int> columnStart_;
  std::vector<int> columnCount_;
  std::vector<int> rows_;
};
