#pragma once
// Builds BMP files byte by byte, in the variants people's files come in.

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <array>
#include <functional>

namespace BmpFixtureWriter {

enum Compression { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct BmpLayout {
  int headerSize;  // 12 (core), 40, 52, 56, 108 or 124
  int width, height, bitCount, compression;
  bool topDown;
  QList<QRgb> palette;                         // for 1, 4 and 8 bits per pixel
  std::array<quint32, 3> masks;                // red, green, blue for BitFields
  std::function<quint32(int x, int y)> value;  // palette index or packed pixel at (x, y) from the top
  QByteArray pixelData = {};                   // when given, written instead of what value makes
  // Run-length rows of an odd width coded with one pixel more, repeating the last, as some
  // encoders write them.
  bool codesPadPixel = false;
};

QByteArray Write(const BmpLayout& layout);

}  // namespace BmpFixtureWriter
