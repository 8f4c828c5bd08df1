#pragma once
// Scanline flood fill of a 4-connected region of one pixel value, with an explicit stack so
// that a region of any size cannot overflow the call stack.

#include "RasterLibrary.h"

#include <cstdint>

class FloodFill {
public:
  // Replaces the seed's value with value over the seed's 4-connected region. Nothing
  // happens for a seed outside the picture or a region that already has that value.
  static void Run(const RasterImage& image, int x, int y, std::uint32_t value);
};
