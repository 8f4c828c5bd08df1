#pragma once
// The edge pixels of a mask along a diagonal: those whose neighbour one diagonal step away
// lies outside the piece. The mask is laid into a bit per pixel of its box, so that a row's
// edge pixels come from a few word operations and the inside of a piece costs nothing.
//
// Coordinates are relative to the mask's box: x from its min x, rows from its first row.
// Pixels one step outside the box (x or row -1, the width or the height) read as outside.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

class ChipMask;

class MaskEdges {
public:
  explicit MaskEdges(const ChipMask& mask);

  // Calls visit(x, row) in run order for every pixel whose neighbour at (dx, dy) is outside,
  // or with either set, whose neighbour at (dx, dy) or at (-dx, -dy) is; dx and dy are 1 or
  // -1.
  template <class Visit>
  void ForEachEdgePixel(int dx, int dy, bool either, Visit visit) const;

  bool InBox(int x, int row) const { return unsigned(x) < unsigned(width_) && unsigned(row) < unsigned(height_); }
  // For pixels in the box or one step outside it.
  bool IsInside(int x, int row) const {
    const std::uint64_t word = bits_[WordIndex(x, row)];
    return (word >> ((x + 1) & 63)) & 1;
  }

private:
  using Word = std::uint64_t;

  std::size_t WordIndex(int x, int row) const {
    return std::size_t(row + 1) * stride_ + 1 + (std::size_t(x + 1) >> 6);
  }
  const Word* RowWords(int row) const { return bits_.data() + std::size_t(row + 1) * stride_ + 1; }
  // Word i of a row's bits moved so that bit b tells about pixel b - 1 + shift.
  static Word Shifted(const Word* row, std::size_t i, int shift) {
    return shift > 0 ? (row[i] >> 1) | (row[i + 1] << 63) : (row[i] << 1) | (row[i - 1] >> 63);
  }

  int width_;
  int height_;
  std::size_t words_;   // per row, bit 0 for x = -1
  std::size_t stride_;  // words_ and a spare word on either side
  std::vector<Word> bits_;  // height + 2 rows, the first and the last empty
};

template <class Visit>
void MaskEdges::ForEachEdgePixel(int dx, int dy, bool either, Visit visit) const {
  for (int row = 0; row < height_; ++row) {
    const Word* here = RowWords(row);
    const Word* ahead = RowWords(row + dy);
    const Word* behind = RowWords(row - dy);
    for (std::size_t i = 0; i < words_; ++i) {
      Word covered = Shifted(ahead, i, dx);
      if (either) covered &= Shifted(behind, i, -dx);
      for (Word edges = here[i] & ~covered; edges; edges &= edges - 1)
        visit(int(i * 64) + std::countr_zero(edges) - 1, row);
    }
  }
}
