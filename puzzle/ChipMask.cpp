#include "ChipMask.h"

#include "BevelFilter.h"
#include "BevelRings.h"
#include "MaskEdges.h"
#include "QuarterTurn.h"

#include <algorithm>
#include <cstring>

namespace {

int largestExtent = 0;

}  // namespace

ChipMask::ChipMask(int expectedRows) {
  // Most rows hold one or two runs.
  rowIndex_.reserve(std::size_t(std::max(expectedRows, 0)));
  runs_.reserve(rowIndex_.capacity() * 2);
}

ChipMask::~ChipMask() { largestExtent = 0; }

void ChipMask::AppendRun(int x, int y, int length) {
  if (runs_.empty()) {
    minX_ = x;
    firstRow_ = y;
  }
  minX_ = std::min(minX_, x);
  std::uint32_t start = std::uint16_t(x);
  if (y == buildRow_) {
    start = std::uint16_t(-x);
  } else {
    // One index entry per row, rows without runs included.
    rowIndex_.resize(std::size_t(y - firstRow_), EmptyRow);
    rowIndex_.push_back(std::int32_t(runs_.size()));
  }
  runs_.push_back(start | std::uint32_t(x + length - 1) << 16);
  maxX_ = std::max(maxX_, x + length - 1);
  pixelCounter_ += length;
  buildRow_ = y;
}

void ChipMask::Finish() {
  // Room made for more rows and runs than came is given back.
  if (runs_.capacity() > runs_.size() + runs_.size() / 4) runs_.shrink_to_fit();
  if (rowIndex_.capacity() > rowIndex_.size() + rowIndex_.size() / 4) rowIndex_.shrink_to_fit();
  width_ = runs_.empty() ? 0 : maxX_ + 1 - minX_;
  height_ = int(rowIndex_.size());
  buildRow_ = -1;
  rotation_ = 0;
  largestExtent = std::max({largestExtent, width_, height_});
}

bool ChipMask::ContainsPt(int x, int y, int px, int py) const {
  int pictureX, pictureY;
  return FindPicturePixel(x, y, px, py, pictureX, pictureY);
}

bool ChipMask::FindPicturePixel(int x, int y, int px, int py, int& pictureX,
                                int& pictureY) const {
  const std::int64_t tx = std::int64_t(px) - x, ty = std::int64_t(py) - y;
  if (tx < 0 || ty < 0 || tx >= TableWidth() || ty >= TableHeight()) return false;
  const QPoint local = QuarterTurn{rotation_, width_, height_}.ToPicture(int(tx), int(ty));
  const int wanted = local.x() + minX_;
  bool found = false;
  ForEachRunOfRow(local.y(), [&](int first, int last) {
    found = found || (first <= wanted && wanted <= last);
  });
  if (!found) return false;
  pictureX = wanted;
  pictureY = firstRow_ + local.y();
  return true;
}

void ChipMask::SetRotation(int angle) {
  angle %= 360;
  rotation_ = angle < 0 ? angle + 360 : angle;
}

std::int64_t ChipMask::PixelCounter() { return pixelCounter_; }

void ChipMask::ResetPixelCounter() { pixelCounter_ = 0; }

int ChipMask::LargestExtent() { return largestExtent; }

namespace {

// The ring values of the current bevel style, looked up once per piece.
struct Rings {
  Rings() : depth(std::clamp(BevelRings::Depth(), 0, 3)) {
    for (int k = 0; k < 3; ++k) values[k] = std::int8_t(BevelRings::Value(k + 1));
  }
  int depth;
  std::int8_t values[3];
};

}  // namespace

// A pixel whose upper-left neighbour on the table is outside starts highlight rings towards
// the lower right; otherwise one whose lower-right neighbour is outside starts shadow rings
// towards the upper left, each as deep as the piece is there, up to the ring depth. Later
// writes replace earlier ones.
void ChipMask::BuildBevel(BevelFilter& bevel) const {
  if (runs_.empty() || minX_ < 0 || firstRow_ < 0 || minX_ + width_ > bevel.Width() ||
      firstRow_ + height_ > bevel.Height())
    return;
  ForEachRun([&](int y, int first, int last) {
    std::memset(bevel.MapRow(y) + first, 0, std::size_t(last - first + 1));
  });
  const Rings rings;
  if (rings.depth > 0) {
    const MaskEdges edges(*this);
    const QPoint step = QuarterTurn{rotation_, width_, height_}.DownRightStep();
    const int dx = step.x(), dy = step.y();
    const std::ptrdiff_t mapStep = std::ptrdiff_t(dy) * bevel.Width() + dx;
    edges.ForEachEdgePixel(dx, dy, true, [&](int x, int row) {
      std::int8_t* map = bevel.MapRow(firstRow_ + row) + minX_ + x;
      // Rings start at the upper-left edge, or else at the lower-right one.
      const int sign = edges.IsInside(x - dx, row - dy) ? -1 : 1;
      map[0] = std::int8_t(sign * rings.values[0]);
      for (int k = 1; k < rings.depth && edges.IsInside(x + sign * k * dx, row + sign * k * dy); ++k)
        map[k * sign * mapStep] = std::int8_t(sign * rings.values[k]);
    });
  }
  bevel.SetPending();
}

// Every pixel whose lower-right neighbour on the table lies outside the piece casts a
// shadow point there.
std::vector<OutlinePoint> ChipMask::BuildOutline(int levelCap, int maxDistance) const {
  std::vector<OutlinePoint> points;
  if (runs_.empty() || maxDistance < 1) return points;
  const MaskEdges edges(*this);
  const QuarterTurn turn{rotation_, width_, height_};
  const int dx = turn.DownRightStep().x(), dy = turn.DownRightStep().y();
  points.reserve(std::size_t(width_ + height_) * 2);
  edges.ForEachEdgePixel(dx, dy, false, [&](int x, int row) {
    // Leaving the mask's box counts as the whole distance: all is outside there.
    const int length = edges.OutsideRun(x, row, dx, dy, maxDistance);
    const QPoint at = turn.ToTable(x, row);
    points.push_back({std::uint16_t(minX_ + at.x() + 1), std::uint16_t(firstRow_ + at.y() + 1),
                      std::uint16_t(std::min(length, levelCap)), std::uint16_t(length)});
  });
  points.shrink_to_fit();
  return points;
}
