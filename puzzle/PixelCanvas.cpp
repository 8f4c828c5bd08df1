#include "PixelCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Farther than any picture side: such points come only from nonsense input.
constexpr int FarAway = 1 << 20;
// Keeps the whole-number curve arithmetic inside 64 bits.
constexpr int MaxPieces = 4096;

int StepsBetween(QPoint a, QPoint b) {
  return std::max(std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

// Rounds numerator / denominator to the nearest integer, halves upward (denominator > 0).
int RoundedQuotient(long long numerator, long long denominator) {
  long long twice = 2 * numerator + denominator, divisor = 2 * denominator;
  long long quotient = twice / divisor;
  if (twice % divisor != 0 && twice < 0) --quotient;
  return static_cast<int>(quotient);
}

// The point at i / n along the cubic, in whole numbers so that every machine agrees.
QPoint CubicPoint(QPoint p0, QPoint p1, QPoint p2, QPoint p3, long long i, long long n) {
  const long long u = n - i;
  const long long a = u * u * u, b = 3 * u * u * i, c = 3 * u * i * i, d = i * i * i;
  const long long whole = n * n * n;
  return QPoint(RoundedQuotient(a * p0.x() + b * p1.x() + c * p2.x() + d * p3.x(), whole),
                RoundedQuotient(a * p0.y() + b * p1.y() + c * p2.y() + d * p3.y(), whole));
}

bool Sane(QPoint p) { return std::abs(p.x()) < FarAway && std::abs(p.y()) < FarAway; }

}  // namespace

PixelCanvas::PixelCanvas(std::uint32_t* topRow, std::ptrdiff_t rowStep, int width, int height)
    : topRow_(topRow), rowStep_(rowStep), width_(std::max(width, 0)),
      height_(std::max(height, 0)) {}

void PixelCanvas::Fill(std::uint32_t colour) {
  if (!topRow_) return;
  for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, colour);
}

void PixelCanvas::PolyBezier(QPoint start, QPoint first, QPoint second, QPoint end) {
  if (!Sane(start) || !Sane(first) || !Sane(second) || !Sane(end)) return;
  const int left = std::min({start.x(), first.x(), second.x(), end.x()});
  const int right = std::max({start.x(), first.x(), second.x(), end.x()});
  const int top = std::min({start.y(), first.y(), second.y(), end.y()});
  const int bottom = std::max({start.y(), first.y(), second.y(), end.y()});
  if (right < 0 || bottom < 0 || left >= width_ || top >= height_) return;

  // Pieces of at most two pixels along the control polygon keep the drawn pixels within
  // about half a pixel of the curve.
  const int hull = StepsBetween(start, first) + StepsBetween(first, second) +
                   StepsBetween(second, end);
  const int pieces = std::clamp((hull + 1) / 2, 1, MaxPieces);
  QPoint previous = start;
  for (int i = 1; i <= pieces; ++i) {
    const QPoint next = i < pieces ? CubicPoint(start, first, second, end, i, pieces) : end;
    if (next == previous) continue;
    Line(previous, next);
    previous = next;
  }
}

void PixelCanvas::Line(QPoint from, QPoint to) {
  if (!Sane(from) || !Sane(to)) return;
  if ((from.x() < 0 && to.x() < 0) || (from.y() < 0 && to.y() < 0) ||
      (from.x() >= width_ && to.x() >= width_) || (from.y() >= height_ && to.y() >= height_))
    return;
  int x = from.x(), y = from.y();
  const int dx = std::abs(to.x() - x), sx = x < to.x() ? 1 : -1;
  const int dy = -std::abs(to.y() - y), sy = y < to.y() ? 1 : -1;
  int error = dx + dy;
  while (x != to.x() || y != to.y()) {
    SetPixel(x, y);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}
