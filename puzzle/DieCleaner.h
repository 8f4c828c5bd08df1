#pragma once
// Cleans freshly drawn cut lines: thins them to one pixel (no L corners, no spurs) and closes
// the single-pixel holes the thinning leaves, then writes the die's pixels. The result
// depends on the order in which pixels are visited (columns from the right, each from the
// bottom up), so that order is kept. The work runs on a bitmap of the line pixels stored
// column by column, a few percent of the picture's memory, so that walking a column touches
// neighbouring bytes instead of picture rows far apart.

#include "DieColours.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PixelCanvas;

class DieCleaner {
public:
  static constexpr std::uint32_t AreaColour = DieColour::Area;
  static constexpr std::uint32_t LineColour = DieColour::Line;

  // Takes the line pixels of a canvas that holds only area and line pixels.
  explicit DieCleaner(const PixelCanvas& canvas);
  // Takes the line pixels of a width x height picture as a pen noted them (x << 16 | y,
  // duplicates allowed).
  DieCleaner(int width, int height, const std::vector<std::uint32_t>& linePixels);

  // How the thinning treats the inner corner of an L: as drawn, always erased; or kept where
  // it is the only link to a line pixel diagonally opposite it, which erasing would leave as
  // a loose end for the thinning to eat back along its line.
  enum class Corners { Erase, KeepLinks };

  // Repeats sweeps until one changes nothing.
  void Thin(Corners corners = Corners::Erase);
  void FillGaps();
  // Writes every pixel of the canvas (of the same size) as area or line.
  void Render(PixelCanvas& canvas) const;

private:
  using Word = std::uint64_t;

  void Allocate();
  bool Line(int x, int y) const { return (Bytes(x)[y >> 3] >> (y & 7)) & 1; }
  // Rows y - 1, y and y + 1 of column x as bits 0, 1 and 2 (1 <= y <= height - 2).
  unsigned Window(int x, int y) const;
  void Erase(int x, int y) { Column(x)[y >> 6] &= ~(Word(1) << (y & 63)); }
  void Paint(int x, int y) { Column(x)[y >> 6] |= Word(1) << (y & 63); }
  const unsigned char* Bytes(int x) const {
    return reinterpret_cast<const unsigned char*>(bits_.data() + std::size_t(x) * columnWords_);
  }
  Word* Column(int x) { return bits_.data() + std::size_t(x) * columnWords_; }
  const Word* Column(int x) const { return bits_.data() + std::size_t(x) * columnWords_; }

  // Calls visit(y) for every line pixel of column x within rows 1 .. height - 2, from the
  // bottom up, reading the bitmap afresh after each call.
  template <class Visit>
  void ForEachLinePixel(int x, Visit visit) const;
  bool ThinningPass();
  bool CornerPass(Corners corners);
  bool ThinPixel(int x, int y);
  bool ThinBorderPixel(int x, int y);
  void FillColumnGaps(int x, bool lastOfColumnBeforeWasLine);

  int width_;
  int height_;
  std::size_t columnWords_ = 0;
  std::vector<Word> bits_;
  std::vector<int> gaps_;
};
