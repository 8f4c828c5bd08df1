#include "TestCanvas.h"

#include <algorithm>

namespace {

std::uint32_t* TopRow(std::vector<std::uint32_t>& memory, int stride, int height,
                      bool bottomUp) {
  const int top = bottomUp ? TestCanvas::Guard + height - 1 : TestCanvas::Guard;
  return memory.data() + std::size_t(top) * stride + TestCanvas::Guard;
}

}  // namespace

TestCanvas::TestCanvas(int width, int height, std::uint32_t fill, bool bottomUp)
    : width_(width), height_(height), stride_(width + 2 * Guard),
      memory_(std::size_t(stride_) * (height + 2 * Guard), GuardColour),
      canvas_(TopRow(memory_, stride_, height, bottomUp), bottomUp ? -stride_ : stride_, width,
              height) {
  canvas_.Fill(fill);
}

bool TestCanvas::GuardIntact() const {
  for (int y = 0; y < height_ + 2 * Guard; ++y)
    for (int x = 0; x < stride_; ++x) {
      const bool inside = x >= Guard && x < Guard + width_ && y >= Guard && y < Guard + height_;
      if (!inside && memory_[std::size_t(y) * stride_ + x] != GuardColour) return false;
    }
  return true;
}

std::vector<QPoint> TestCanvas::PixelsOf(std::uint32_t colour) const {
  std::vector<QPoint> found;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) == colour) found.emplace_back(x, y);
  return found;
}

bool TestCanvas::ConnectedPixels(std::uint32_t colour) const {
  const std::vector<QPoint> all = PixelsOf(colour);
  if (all.empty()) return true;
  std::vector<char> seen(std::size_t(width_) * height_, 0);
  std::vector<QPoint> stack{all.front()};
  seen[std::size_t(all.front().y()) * width_ + all.front().x()] = 1;
  std::size_t reached = 0;
  while (!stack.empty()) {
    const QPoint p = stack.back();
    stack.pop_back();
    ++reached;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = p.x() + dx, y = p.y() + dy;
        if (x < 0 || y < 0 || x >= width_ || y >= height_ || At(x, y) != colour) continue;
        char& mark = seen[std::size_t(y) * width_ + x];
        if (!mark) {
          mark = 1;
          stack.emplace_back(x, y);
        }
      }
  }
  return reached == all.size();
}

bool TestCanvas::operator==(const TestCanvas& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (At(x, y) != other.At(x, y)) return false;
  return true;
}

void TestCanvas::CopyFrom(const TestCanvas& other) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Put(x, y, other.At(x, y));
}
