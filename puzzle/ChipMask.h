#pragma once
// The shape of one piece: run-length scan lines in picture coordinates, cut out of the
// cutting die so that the masks of all pieces cover the picture exactly once. It answers
// point tests for the placed and turned piece, writes the piece's bevel shading, and builds
// the outline of shadow points drawn under a piece.
//
// Each run is one 32-bit word: the low 16 bits its first x, stored negated when the run is
// not the first of its row, the high 16 bits its last x (inclusive). The row index has one
// entry per mask row, EmptyRow for a row without runs.

#include "OutlinePoint.h"

#include <cstdint>
#include <vector>

class BevelFilter;

class ChipMask {
public:
  static constexpr std::int32_t EmptyRow = -1;

  // A mask without runs, to be built with AppendRun or AppendSpan and then Finish; room is
  // made for about that many rows.
  explicit ChipMask(int expectedRows = 0);
  ~ChipMask();
  ChipMask(const ChipMask&) = delete;
  ChipMask& operator=(const ChipMask&) = delete;

  // Rows from the top down, runs left to right within a row, never touching each other.
  void AppendRun(int x, int y, int length);
  // Pixels first .. last of row y; joined to the last run when they continue it.
  void AppendSpan(int first, int last, int y) {
    if (first > last) return;
    if (y != buildRow_ || Last(runs_.back()) != first - 1) {
      AppendRun(first, y, last - first + 1);
      return;
    }
    runs_.back() = (runs_.back() & 0xFFFF) | std::uint32_t(last) << 16;
    if (last > maxX_) maxX_ = last;
    pixelCounter_ += last - first + 1;
  }
  void Finish();

  // Whether table point (px, py) lies in the piece placed at (x, y) with its rotation.
  bool ContainsPt(int x, int y, int px, int py) const;
  // The same, also telling which picture pixel lies there.
  bool FindPicturePixel(int x, int y, int px, int py, int& pictureX, int& pictureY) const;
  // A quarter turn, brought into 0 .. 359.
  void SetRotation(int angle);
  // Writes the piece's highlight and shadow rings for its rotation into the filter's map.
  void BuildBevel(BevelFilter& bevel) const;
  // The shadow points along the piece's lower-right edges for its rotation.
  std::vector<OutlinePoint> BuildOutline(int levelCap, int maxDistance) const;

  int MinX() const { return minX_; }
  int FirstRow() const { return firstRow_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Rotation() const { return rotation_; }
  int RunCount() const { return int(runs_.size()); }
  // The turned box on the table.
  int TableWidth() const { return Turned() ? height_ : width_; }
  int TableHeight() const { return Turned() ? width_ : height_; }

  // Calls visit(first, last) for each run of mask row row (0 = the first row), left to right.
  template <class Visit>
  void ForEachRunOfRow(int row, Visit visit) const {
    if (row < 0 || row >= height_) return;
    const std::int32_t start = rowIndex_[std::size_t(row)];
    if (start == EmptyRow) return;
    for (std::size_t i = std::size_t(start); i < runs_.size(); ++i) {
      if (i > std::size_t(start) && StartsRow(runs_[i])) break;
      visit(First(runs_[i]), Last(runs_[i]));
    }
  }
  // Calls visit(y, first, last) for every run in order, y in picture rows.
  template <class Visit>
  void ForEachRun(Visit visit) const {
    for (int row = 0; row < height_; ++row)
      ForEachRunOfRow(row, [&](int first, int last) { visit(firstRow_ + row, first, last); });
  }

  // The sum of the lengths of all runs appended since the last reset.
  static std::int64_t PixelCounter();
  static void ResetPixelCounter();
  // The largest width or height of any mask finished since a mask was last destroyed.
  static int LargestExtent();

private:
  static bool StartsRow(std::uint32_t run) { return std::int16_t(run & 0xFFFF) >= 0; }
  static int First(std::uint32_t run) {
    const int start = std::int16_t(run & 0xFFFF);
    return start < 0 ? -start : start;
  }
  static int Last(std::uint32_t run) { return int(run >> 16); }
  bool Turned() const { return rotation_ == 90 || rotation_ == 270; }

  static inline std::int64_t pixelCounter_ = 0;

  std::vector<std::uint32_t> runs_;
  std::vector<std::int32_t> rowIndex_;
  int minX_ = 0;
  int firstRow_ = 0;
  int buildRow_ = -1;  // the row of the last run appended while building
  int maxX_ = -1;
  int width_ = 0;
  int height_ = 0;
  int rotation_ = 0;
};
