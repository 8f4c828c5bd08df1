#pragma once
// BMP files through Qt's image reader and writer: 1, 4, 8, 16, 24 and 32 bits per pixel,
// RLE4 and RLE8, bit-field masks, both row orders and every header from the old 12-byte
// one on. Sizes are checked before anything is decoded.

#include "RasterLibrary.h"

#include <QString>

class QIODevice;

class BitmapCodec {
public:
  // Decodes the BMP file at the device's position into target, whose size the picture must
  // have. The device is left after the file's bytes (its recorded size, bounded by what the
  // device holds). Black is stored as 1. False, with a log line naming what, on failure.
  static bool Decode(QIODevice& device, const RasterImage& target, const QString& what);
  // Writes the picture as a 24-bit BMP file.
  static bool Encode(const RasterImage& image, QIODevice& device, const QString& what);
};
