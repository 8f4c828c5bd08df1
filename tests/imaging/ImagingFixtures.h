#pragma once
// Small helpers shared by the imaging tests: patterned buffers and pixel access through the
// documented memory layout.

#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <vector>

namespace ImagingFixtures {

// A distinct non-zero value for every pixel of a small buffer.
inline std::uint32_t PatternValue(int x, int y) { return 0x010000u * (x & 0xFF) + 0x100u * (y & 0xFF) + 1; }

inline std::uint32_t& PixelRef(const VirtualBuffer& buffer, int x, int y) {
  return buffer.memory[(buffer.height - 1 - y) * buffer.stride / 4 + x];
}
inline std::uint32_t PixelAt(const VirtualBuffer& buffer, int x, int y) { return PixelRef(buffer, x, y); }
inline void SetPixel(VirtualBuffer& buffer, int x, int y, std::uint32_t value) { PixelRef(buffer, x, y) = value; }

// All pixels, row by row from the top.
inline std::vector<std::uint32_t> Pixels(const VirtualBuffer& buffer) {
  std::vector<std::uint32_t> all;
  for (int y = 0; y < buffer.height; ++y)
    for (int x = 0; x < buffer.width; ++x) all.push_back(PixelAt(buffer, x, y));
  return all;
}

inline void FillAll(VirtualBuffer& buffer, std::uint32_t value) {
  for (int y = 0; y < buffer.height; ++y)
    for (int x = 0; x < buffer.width; ++x) SetPixel(buffer, x, y, value);
}

inline std::unique_ptr<VirtualBuffer> Patterned(int width, int height, const QString& name = "pattern") {
  auto buffer = std::make_unique<VirtualBuffer>(width, height, name);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(*buffer, x, y, PatternValue(x, y));
  return buffer;
}

// Distinct colours, no black pixel.
inline QImage ColourfulImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb((x * 37 + 20) & 0xFF, (y * 53 + 40) & 0xFF, ((x + y) * 11 + 60) & 0xFF));
  return image;
}

// Decodes a whole file held in memory into buffer.
inline bool ReadBytes(QByteArray bytes, VirtualBuffer& buffer, int mode) {
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  return buffer.Read(stream, mode);
}

// The largest difference of one colour channel between two 0x00RRGGBB values.
inline int Distance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift : {16, 8, 0}) worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
  return worst;
}

}  // namespace ImagingFixtures
