#pragma once
// The white areas of a cleaned cutting die, row by row as runs, each run labelled with the
// 4-connected area it belongs to. Every pixel that is not area (cut line or marker) lies
// between the runs. One pass over the die replaces a flood fill per piece.

#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

class VirtualBuffer;

class DieAreas {
public:
  struct Run {
    std::int32_t first;
    std::int32_t last;  // inclusive
    std::int32_t area;
  };

  explicit DieAreas(const VirtualBuffer& die);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int AreaCount() const { return int(bounds_.size()); }
  // The area runs of row y, left to right.
  std::span<const Run> RowRuns(int y) const {
    return {runs_.data() + rowStart_[y], runs_.data() + rowStart_[y + 1]};
  }
  // The area at a pixel; -1 on a line or outside the die.
  int AreaAt(int x, int y) const;
  // The smallest rectangle holding the area.
  QRect AreaBounds(int area) const { return bounds_[std::size_t(area)]; }

private:
  void ScanRow(const std::uint32_t* pixels);
  void LabelRow(int y);
  int Root(int label);
  void Relabel();

  int width_;
  int height_;
  std::vector<Run> runs_;
  std::vector<std::size_t> rowStart_;  // height + 1 entries
  std::vector<std::int32_t> parent_;  // labels while scanning, each pointing towards its root
  std::vector<QRect> bounds_;
};
