#include "MaskCutter.h"

#include "CellLayout.h"
#include "ChipMask.h"
#include "DieAreas.h"

#include <algorithm>

MaskCutter::MaskCutter(const DieAreas& areas, const CellLayout& layout)
    : areas_(areas), layout_(layout) {
  for (int column = 0; column < layout.Columns(); ++column)
    columnEnds_.push_back(layout.Cell(column, 0).BandRight());
  for (int row = 0; row < layout.Rows(); ++row) rowEnds_.push_back(layout.Cell(0, row).BandBottom());
  // The cells that took each area, grouped by area.
  const int cells = layout.CellCount();
  claimStart_.assign(std::size_t(areas.AreaCount()) + 1, 0);
  for (int cell = 0; cell < cells; ++cell) {
    const DieCell& taker = layout.CellAt(cell);
    for (int i = 0; i < taker.areaCount; ++i) ++claimStart_[std::size_t(taker.areas[i]) + 1];
  }
  for (std::size_t area = 1; area < claimStart_.size(); ++area) claimStart_[area] += claimStart_[area - 1];
  claimants_.resize(std::size_t(claimStart_.back()));
  std::vector<int> filled(claimStart_.begin(), claimStart_.end() - 1);
  for (int cell = 0; cell < cells; ++cell) {
    const DieCell& taker = layout.CellAt(cell);
    for (int i = 0; i < taker.areaCount; ++i)
      claimants_[std::size_t(filled[std::size_t(taker.areas[i])]++)] = cell;
  }
}

std::vector<std::unique_ptr<ChipMask>> MaskCutter::Cut() {
  masks_.clear();
  masks_.reserve(std::size_t(layout_.CellCount()));
  for (int cell = 0; cell < layout_.CellCount(); ++cell) {
    const DieCell& place = layout_.CellAt(cell);
    masks_.push_back(std::make_unique<ChipMask>(place.bottom - place.top + 1));
  }
  int gridRow = 0;
  for (int y = 0; y < areas_.Height(); ++y) {
    while (gridRow < layout_.Rows() - 1 && rowEnds_[std::size_t(gridRow)] <= y) ++gridRow;
    CutRow(y, gridRow);
  }
  for (const std::unique_ptr<ChipMask>& mask : masks_) mask->Finish();
  return std::move(masks_);
}

// The pixels between the area runs are cut line; they come left to right, so the column
// holding them only moves right.
void MaskCutter::CutRow(int y, int gridRow) {
  int next = 0;
  std::size_t column = 0;
  for (const DieAreas::Run& run : areas_.RowRuns(y)) {
    if (run.first > next) GiveLine(next, run.first - 1, y, gridRow, column);
    GiveArea(run.area, run.first, run.last, y);
    next = run.last + 1;
  }
  if (next < areas_.Width()) GiveLine(next, areas_.Width() - 1, y, gridRow, column);
}

void MaskCutter::GiveLine(int first, int last, int y, int gridRow, std::size_t& column) {
  const std::size_t rowStart = std::size_t(gridRow) * columnEnds_.size();
  for (; first <= last && column < columnEnds_.size(); ++column) {
    if (columnEnds_[column] <= first) continue;
    const int stop = std::min(last, columnEnds_[column] - 1);
    masks_[rowStart + column]->AppendSpan(first, stop, y);
    if (stop == last) break;
    first = stop + 1;
  }
}

// An area that one cell took goes to its piece whole, knobs reaching past the rectangle
// included; one that several took (a broken line, refused later) is shared out by rectangle.
void MaskCutter::GiveArea(int area, int first, int last, int y) {
  const int begin = claimStart_[std::size_t(area)], end = claimStart_[std::size_t(area) + 1];
  if (end - begin == 1) {
    masks_[std::size_t(claimants_[std::size_t(begin)])]->AppendSpan(first, last, y);
    return;
  }
  for (int i = begin; i < end; ++i) {
    const int index = claimants_[std::size_t(i)];
    const DieCell& cell = layout_.CellAt(index);
    if (y < cell.top || y > cell.bottom) continue;
    masks_[std::size_t(index)]->AppendSpan(std::max(first, cell.left), std::min(last, cell.right), y);
  }
}
