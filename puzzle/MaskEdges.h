#pragma once
// The edge pixels of a mask along a diagonal: those whose neighbour one diagonal step away
// lies outside the piece. The mask is laid into a bit per pixel of its box, so that a row's
// edge pixels come from a few word operations and the inside of a piece costs nothing.
//
// Coordinates are relative to the mask's box: x from its min x, rows from its first row. A
// margin of Margin empty pixels lies around the box, so that short walks need no bounds.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

class ChipMask;

class MaskEdges {
public:
  static constexpr int Margin = 8;

  explicit MaskEdges(const ChipMask& mask);

  // Calls visit(x, row) in run order for every pixel whose neighbour at (dx, dy) is outside,
  // or with either set, whose neighbour at (dx, dy) or at (-dx, -dy) is; dx and dy are 1 or
  // -1.
  template <class Visit>
  void ForEachEdgePixel(int dx, int dy, bool either, Visit visit) const;

  // For pixels in the box or its margin.
  bool IsInside(int x, int row) const { return Bit(BitIndex(x, row)); }
  // How many pixels after (x, row), stepping by (dx, dy), lie outside the piece before one
  // inside, at most limit. Past the margin every pixel is outside.
  int OutsideRun(int x, int row, int dx, int dy, int limit) const {
    const int reach = limit < Margin ? limit : Margin;
    const std::ptrdiff_t step = std::ptrdiff_t(dy) * stride_ * 64 + dx;
    std::ptrdiff_t bit = BitIndex(x, row);
    for (int k = 1; k <= reach; ++k)
      if (Bit(bit += step)) return k - 1;
    return limit;
  }

private:
  using Word = std::uint64_t;

  std::ptrdiff_t BitIndex(int x, int row) const {
    return (std::ptrdiff_t(row + Margin) * stride_ + 1) * 64 + x + Margin;
  }
  bool Bit(std::ptrdiff_t index) const { return (bits_[std::size_t(index >> 6)] >> (index & 63)) & 1; }
  const Word* RowWords(int row) const {
    return bits_.data() + std::size_t(row + Margin) * stride_ + 1;
  }
  // Word i of a row's bits moved so that bit b tells about pixel b - Margin + shift.
  static Word Shifted(const Word* row, std::size_t i, int shift) {
    return shift > 0 ? (row[i] >> 1) | (row[i + 1] << 63) : (row[i] << 1) | (row[std::ptrdiff_t(i) - 1] >> 63);
  }

  int height_;
  std::size_t words_;   // per row, bit 0 for x = -Margin
  std::size_t stride_;  // words_ and a spare word on either side
  std::vector<Word> bits_;  // height + 2 Margin rows
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
        visit(int(i * 64) + std::countr_zero(edges) - Margin, row);
    }
  }
}
