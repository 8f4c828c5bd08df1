#pragma once
// Resampling between raster pictures: nearest neighbour (values kept exactly), smooth
// (area averaging when shrinking, for pictures a player looks at) and the two-times
// enlargement of the magnifier.

#include "RasterLibrary.h"

class PixelScaler {
public:
  // Fills the whole target from the whole source. Smooth results store black as 1.
  static void Resample(const RasterImage& source, const RasterImage& target, bool smooth);
  // Each source pixel of the region with top-left sx, sy becomes a 2 × 2 block of the
  // target; target pixels whose source lies outside the source are left alone.
  static void Magnify(const RasterImage& source, int sx, int sy, const RasterImage& target);

private:
  static void Nearest(const RasterImage& source, const RasterImage& target);
  static void Smooth(const RasterImage& source, const RasterImage& target);
};
