#pragma once
// Encoding a raster picture as a baseline JPEG stream with libjpeg, through a destination
// of our own that grows a vector (nothing dangles when libjpeg gives up half-way).

#include "RasterLibrary.h"

#include <QString>

class QIODevice;

class JpegWriter {
public:
  static constexpr int Quality = 90;

  // Writes the whole picture to the device; false, with a log line naming what, on failure.
  static bool Encode(const RasterImage& image, QIODevice& device, const QString& what);
};
