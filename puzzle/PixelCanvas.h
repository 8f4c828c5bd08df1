#pragma once
// A pen over raw rows of 32-bit pixels: aliased one-pixel lines and cubic curves, clipped to
// the surface. The cut lines need exactly these pixels (closed, one pixel wide, the same on
// every machine), which an antialiasing painter does not give.

#include <QPoint>

#include <cstddef>
#include <cstdint>
#include <vector>

class PixelCanvas {
public:
  // `topRow` is row 0; `rowStep` is the distance in pixels from one row to the next below it,
  // negative for memory stored bottom-up.
  PixelCanvas(std::uint32_t* topRow, std::ptrdiff_t rowStep, int width, int height);
  // A surface without memory: it only notes the pixels set (see TraceInto).
  PixelCanvas(int width, int height) : PixelCanvas(nullptr, 0, width, height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::ptrdiff_t RowStep() const { return rowStep_; }
  std::uint32_t* Row(int y) const { return topRow_ + y * rowStep_; }

  void SetPenColor(std::uint32_t colour) { pen_ = colour; }
  std::uint32_t PenColor() const { return pen_; }

  // 0 outside the surface or without memory.
  std::uint32_t Pixel(int x, int y) const {
    return Inside(x, y) && topRow_ ? Row(y)[x] : 0;
  }
  // Writes the pen colour; nothing outside the surface.
  void SetPixel(int x, int y) {
    if (!Inside(x, y)) return;
    if (topRow_) Row(y)[x] = pen_;
    if (trace_) trace_->push_back(std::uint32_t(x) << 16 | std::uint32_t(y));
  }
  // From now on every pixel set inside the surface is also noted as x << 16 | y (null: no
  // longer); for surfaces up to 65535 pixels a side.
  void TraceInto(std::vector<std::uint32_t>* trace) { trace_ = trace; }
  void Fill(std::uint32_t colour);

  // One cubic segment through four control points, flattened into short straight pieces.
  // The last point is not drawn: a chain of segments draws every joint exactly once.
  void PolyBezier(QPoint start, QPoint first, QPoint second, QPoint end);
  // A straight line without its end point.
  void Line(QPoint from, QPoint to);

private:
  bool Inside(int x, int y) const {
    return unsigned(x) < unsigned(width_) && unsigned(y) < unsigned(height_);
  }

  std::uint32_t* topRow_;
  std::ptrdiff_t rowStep_;
  int width_;
  int height_;
  std::uint32_t pen_ = 0;
  std::vector<std::uint32_t>* trace_ = nullptr;
};
