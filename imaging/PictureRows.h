#pragma once
// Storing decoded or smoothed picture pixels: the top byte is cleared and black becomes 1,
// so that no pixel of a picture counts as transparent.

#include <cstdint>

inline std::uint32_t PicturePixel(std::uint32_t argb) {
  const std::uint32_t v = argb & 0xFFFFFF;
  return v ? v : 1;
}

inline void StorePictureRow(const std::uint32_t* from, std::uint32_t* to, int count) {
  for (int i = 0; i < count; ++i) to[i] = PicturePixel(from[i]);
}
