#pragma once
// A small pixel surface for the cutting tests, stored top-down or bottom-up, with a band of
// guard pixels around it that must never be written.

#include "puzzle/PixelCanvas.h"

#include <QPoint>

#include <cstdint>
#include <vector>

class TestCanvas {
public:
  static constexpr int Guard = 4;
  static constexpr std::uint32_t GuardColour = 0x12345678;

  TestCanvas(int width, int height, std::uint32_t fill, bool bottomUp = false);
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;
  // Same pixels as `other` (same size).
  void CopyFrom(const TestCanvas& other);

  PixelCanvas& Canvas() { return canvas_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t At(int x, int y) const { return canvas_.Pixel(x, y); }
  void Put(int x, int y, std::uint32_t colour) { canvas_.Row(y)[x] = colour; }
  bool GuardIntact() const;
  std::vector<QPoint> PixelsOf(std::uint32_t colour) const;
  // All pixels of `colour` form one group connected through sides and corners.
  bool ConnectedPixels(std::uint32_t colour) const;
  bool operator==(const TestCanvas& other) const;

private:
  int width_, height_, stride_;
  std::vector<std::uint32_t> memory_;
  PixelCanvas canvas_;
};
