#pragma once
// BMP files. Our own reader decodes straight into the picture's rows: 1, 4, 8, 16, 24 and
// 32 bits per pixel, RLE4 and RLE8, bit-field masks, both row orders, the 12-byte core
// header and the 40, 52, 56, 108 and 124-byte ones; every pixel is written exactly once.
// Everything the headers say is checked before a pixel is decoded. Qt writes 24-bit files.

#include "RasterLibrary.h"

#include <QString>

class QIODevice;

class BitmapCodec {
public:
  // Decodes the BMP file at the device's position into target, whose size the picture must
  // have. The device is left after the file's bytes (its recorded size, bounded by what the
  // device holds). Black is stored as 1, and so is every pixel that run-length codes skip.
  // False, with a log line naming what and the reason left for a DecodeRefusal, on failure
  // (the rows may then hold part of it).
  static bool Decode(QIODevice& device, const RasterImage& target, const QString& what);
  // Writes the picture as a 24-bit BMP file.
  static bool Encode(const RasterImage& image, QIODevice& device, const QString& what);
};
