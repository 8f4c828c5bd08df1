#pragma once
// Small helpers shared by the imaging tests: patterned buffers and pixel reads.

#include "imaging/VirtualBuffer.h"

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <vector>

namespace ImagingFixtures {

// A distinct non-zero value for every pixel: 0x00XXYY00 + 1 style, unique per (x, y).
std::uint32_t PatternValue(int x, int y);
// A buffer whose every pixel holds PatternValue.
std::unique_ptr<VirtualBuffer> Patterned(int width, int height, const QString& name = "pattern");
// Pixel (x, y) counted from the top, read through the documented memory layout.
std::uint32_t PixelAt(const VirtualBuffer& buffer, int x, int y);
void SetPixel(VirtualBuffer& buffer, int x, int y, std::uint32_t value);
// All pixels, row by row from the top.
std::vector<std::uint32_t> Pixels(const VirtualBuffer& buffer);
// Every pixel set to value.
void FillAll(VirtualBuffer& buffer, std::uint32_t value);

// A QImage of distinct colours with no black pixel, for codec round trips.
QImage ColourfulImage(int width, int height);

}  // namespace ImagingFixtures
