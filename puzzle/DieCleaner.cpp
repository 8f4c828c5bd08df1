#include "DieCleaner.h"

#include "PixelCanvas.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

// For each open ring of eight neighbours (bit i = ring entry i), whether it changes value
// fewer than three times: such a pixel ends a line or sits on its flank.
constexpr std::array<bool, 256> MakeErasableRings() {
  std::array<bool, 256> erasable{};
  for (unsigned ring = 0; ring < 256; ++ring)
    erasable[ring] = std::popcount((ring ^ (ring >> 1)) & 0x7Fu) < 3;
  return erasable;
}
constexpr std::array<bool, 256> ErasableRing = MakeErasableRings();

}  // namespace

DieCleaner::DieCleaner(const PixelCanvas& canvas)
    : width_(canvas.Width()), height_(canvas.Height()) {
  Allocate();
  for (int y = 0; y < height_; ++y) {
    const std::uint32_t* row = canvas.Row(y);
    int x = 0;
    while (x < width_) {
      if (x + 16 <= width_) {
        std::uint32_t differs = 0;
        for (int k = 0; k < 16; ++k) differs |= row[x + k] ^ AreaColour;
        if (differs == 0) {
          x += 16;
          continue;
        }
      }
      if (row[x] == LineColour) Paint(x, y);
      ++x;
    }
  }
}

DieCleaner::DieCleaner(int width, int height, const std::vector<std::uint32_t>& linePixels)
    : width_(width), height_(height) {
  Allocate();
  for (std::uint32_t pixel : linePixels) {
    const int x = int(pixel >> 16), y = int(pixel & 0xFFFF);
    if (x < width_ && y < height_) Paint(x, y);
  }
}

// One spare word per column lets a three-row window be read across a word boundary.
void DieCleaner::Allocate() {
  columnWords_ = std::size_t(height_ + 63) / 64 + 1;
  bits_.assign(columnWords_ * std::size_t(width_), 0);
}

inline unsigned DieCleaner::Window(int x, int y) const {
  std::uint16_t pair;
  std::memcpy(&pair, Bytes(x) + ((y - 1) >> 3), sizeof pair);
  return (unsigned(pair) >> ((y - 1) & 7)) & 7u;
}

template <class Visit>
void DieCleaner::ForEachLinePixel(int x, Visit visit) const {
  const Word* column = Column(x);
  int y = height_ - 2;
  while (y >= 1) {
    // Line pixels at or above row y within its word.
    const Word word = column[y >> 6] & (~Word(0) >> (63 - (y & 63)));
    if (word == 0) {
      y = (y & ~63) - 1;
      continue;
    }
    const int found = (y & ~63) + 63 - std::countl_zero(word);
    if (found < 1) break;
    visit(found);
    y = found - 1;
  }
}

void DieCleaner::Thin(Corners corners) {
  bool firstSweep = true;
  for (;;) {
    bool changed = ThinningPass();
    if (firstSweep || changed) changed = CornerPass(corners) || changed;
    firstSweep = false;
    if (!changed) break;
  }
}

bool DieCleaner::ThinningPass() {
  bool changed = false;
  for (int x = width_ - 2; x >= 1; --x)
    ForEachLinePixel(x, [&](int y) {
      if (ThinPixel(x, y)) changed = true;
    });
  return changed;
}

// A line pixel with exactly two line neighbours, one above or below and one beside, is the
// inner corner of an L: removing it keeps the line connected diagonally.
bool DieCleaner::CornerPass(Corners corners) {
  bool changed = false;
  for (int x = width_ - 2; x >= 1; --x)
    ForEachLinePixel(x, [&](int y) {
      const unsigned column = Window(x, y);
      const bool up = column & 1, down = column & 4;
      const bool left = Line(x - 1, y), right = Line(x + 1, y);
      if (up + down + left + right != 2 || !(up || down) || !(left || right)) return;
      if (corners == Corners::KeepLinks && Line(left ? x + 1 : x - 1, up ? y + 1 : y - 1)) return;
      Erase(x, y);
      changed = true;
      ThinPixel(x, up ? y - 1 : y + 1);
      ThinPixel(left ? x - 1 : x + 1, y);
    });
  return changed;
}

// Walks the eight neighbours as an open ring: left, below left, below, below right, right,
// above right, above, above left.
bool DieCleaner::ThinPixel(int x, int y) {
  if (x < 1 || y < 1 || x > width_ - 2 || y > height_ - 2) return ThinBorderPixel(x, y);
  const unsigned left = Window(x - 1, y), centre = Window(x, y), right = Window(x + 1, y);
  const unsigned ring = ((left >> 1) & 1) | ((left >> 2) & 1) << 1 | ((centre >> 2) & 1) << 2 |
                        ((right >> 2) & 1) << 3 | ((right >> 1) & 1) << 4 | (right & 1) << 5 |
                        (centre & 1) << 6 | (left & 1) << 7;
  if (!ErasableRing[ring]) return false;
  Erase(x, y);
  return true;
}

// The same on the picture's edge, where outside neighbours differ from both line and area.
bool DieCleaner::ThinBorderPixel(int x, int y) {
  auto value = [&](int px, int py) {
    if (px < 0 || py < 0 || px >= width_ || py >= height_) return 2;
    return int(Line(px, py));
  };
  const int ring[8] = {value(x - 1, y), value(x - 1, y + 1), value(x, y + 1),
                       value(x + 1, y + 1), value(x + 1, y), value(x + 1, y - 1),
                       value(x, y - 1), value(x - 1, y - 1)};
  int changes = 0;
  for (int i = 0; i < 7; ++i) changes += ring[i] != ring[i + 1];
  if (changes >= 3) return false;
  Erase(x, y);
  return true;
}

// A scan in the same order as the thinning paints an area pixel enclosed by line on all four
// sides, but only right after a line pixel of the scan (a painted pixel does not count as
// one): the pixel below must have been line all along, and for the first pixel of a column
// the last pixel of the column before.
void DieCleaner::FillGaps() {
  if (width_ < 3 || height_ < 3) return;
  bool lastOfColumnWasLine = false;
  for (int x = width_ - 2; x >= 1; --x) {
    const bool lastWasLine = Line(x, 1);
    FillColumnGaps(x, lastOfColumnWasLine);
    lastOfColumnWasLine = lastWasLine;
  }
}

// Whole words at a time: the pixels above, to the left and below are as they were before the
// column was scanned, the pixels to the right as the scan left them.
void DieCleaner::FillColumnGaps(int x, bool lastOfColumnBeforeWasLine) {
  const Word* left = Column(x - 1);
  const Word* right = Column(x + 1);
  Word* column = Column(x);
  const int words = int(columnWords_) - 1;
  gaps_.clear();
  for (int w = 0; w < words; ++w) {
    const Word here = column[w];
    const Word below = (here >> 1) | (column[w + 1] << 63);
    const Word above = (here << 1) | (w > 0 ? column[w - 1] >> 63 : 0);
    Word gaps = ~here & above & below & left[w] & right[w];
    while (gaps) {
      const int y = w * 64 + std::countr_zero(gaps);
      gaps &= gaps - 1;
      if (y >= 1 && y <= height_ - 3) gaps_.push_back(y);
    }
  }
  const int last = height_ - 2;
  if (lastOfColumnBeforeWasLine && !Line(x, last) && Line(x, last - 1) && Line(x, last + 1) &&
      Line(x - 1, last) && Line(x + 1, last))
    Paint(x, last);
  for (int y : gaps_) Paint(x, y);
}

namespace {

// Transposes a 64 x 64 bit matrix: bit c of word i trades places with bit i of word c.
void Transpose64(std::uint64_t a[64]) {
  std::uint64_t mask = 0x00000000FFFFFFFFull;
  for (int j = 32; j != 0; j >>= 1, mask ^= mask << j)
    for (int k = 0; k < 64; k = ((k | j) + 1) & ~j) {
      const std::uint64_t t = ((a[k] >> j) ^ a[k | j]) & mask;
      a[k] ^= t << j;
      a[k | j] ^= t;
    }
}

}  // namespace

// Sixty-four rows at a time: the band is turned into rows of bits, then each row is copied
// from a row of area and gets its line pixels.
void DieCleaner::Render(PixelCanvas& canvas) const {
  const int blocks = (width_ + 63) / 64;
  const std::vector<std::uint32_t> area(std::size_t(width_), AreaColour);
  std::vector<Word> rowBits(std::size_t(blocks) * 64);
  Word block[64];
  for (int first = 0; first < height_; first += 64) {
    for (int b = 0; b < blocks; ++b) {
      for (int i = 0; i < 64; ++i) {
        const int x = b * 64 + i;
        block[i] = x < width_ ? Column(x)[first >> 6] : 0;
      }
      Transpose64(block);
      for (int r = 0; r < 64; ++r) rowBits[std::size_t(r) * blocks + b] = block[r];
    }
    const int rows = std::min(64, height_ - first);
    for (int r = 0; r < rows; ++r) {
      std::uint32_t* row = canvas.Row(first + r);
      std::memcpy(row, area.data(), area.size() * sizeof(std::uint32_t));
      for (int b = 0; b < blocks; ++b)
        for (Word word = rowBits[std::size_t(r) * blocks + b]; word; word &= word - 1)
          row[b * 64 + std::countr_zero(word)] = LineColour;
    }
  }
}
