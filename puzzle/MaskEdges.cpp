#include "MaskEdges.h"

#include "ChipMask.h"

MaskEdges::MaskEdges(const ChipMask& mask)
    : height_(mask.Height()),
      words_((std::size_t(mask.Width()) + 2 * Margin + 63) / 64),
      stride_(words_ + 2),
      bits_(stride_ * std::size_t(height_ + 2 * Margin), 0) {
  for (int row = 0; row < height_; ++row) {
    Word* words = bits_.data() + std::size_t(row + Margin) * stride_ + 1;
    mask.ForEachRunOfRow(row, [&](int first, int last) {
      const std::size_t from = std::size_t(first - mask.MinX() + Margin);
      const std::size_t to = std::size_t(last - mask.MinX() + Margin);
      for (std::size_t i = from >> 6; i <= to >> 6; ++i) {
        const Word low = i == from >> 6 ? ~Word(0) << (from & 63) : ~Word(0);
        const Word high = i == to >> 6 ? ~Word(0) >> (63 - (to & 63)) : ~Word(0);
        words[i] |= low & high;
      }
    });
  }
}
