#include "MaskEdges.h"

#include "ChipMask.h"

MaskEdges::MaskEdges(const ChipMask& mask)
    : width_(mask.Width()),
      height_(mask.Height()),
      words_((std::size_t(width_) + 2 + 63) / 64),
      stride_(words_ + 2),
      bits_(stride_ * std::size_t(height_ + 2), 0) {
  for (int row = 0; row < height_; ++row) {
    Word* words = bits_.data() + std::size_t(row + 1) * stride_ + 1;
    mask.ForEachRunOfRow(row, [&](int first, int last) {
      // Bits first + 1 .. last + 1 of the row, relative to the box.
      std::size_t from = std::size_t(first - mask.MinX() + 1), to = std::size_t(last - mask.MinX() + 1);
      for (std::size_t i = from >> 6; i <= to >> 6; ++i) {
        const Word low = i == from >> 6 ? ~Word(0) << (from & 63) : ~Word(0);
        const Word high = i == to >> 6 ? ~Word(0) >> (63 - (to & 63)) : ~Word(0);
        words[i] |= low & high;
      }
    });
  }
}
