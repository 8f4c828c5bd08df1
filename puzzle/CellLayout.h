#pragma once
// The grid cells of a cutting die with the die areas each piece takes: the area at the cell's
// seed and those just inside its corners. An area taken by two cells means a broken line
// (unless it is a neighbour's knob that reached the seed); one taken by none leaves pixels
// to nobody.

#include "DieCell.h"

#include <vector>

class DieAreas;
class IntArray;

class CellLayout {
public:
  CellLayout(const IntArray& columnWidths, const IntArray& rowHeights, const DieAreas& areas);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  const DieCell& Cell(int column, int row) const { return CellAt(row * columns_ + column); }
  // Cells are numbered row by row.
  const DieCell& CellAt(int index) const { return cells_[std::size_t(index)]; }
  int CellCount() const { return int(cells_.size()); }
  // Some area went to more than one cell: their masks would overlap.
  bool HasSharedArea() const { return shared_; }
  // Every area went to exactly one cell: no line broken, no area left to nobody.
  bool EveryAreaOnce() const { return !shared_ && !orphaned_; }

private:
  void PlaceCells(const IntArray& columnWidths, const IntArray& rowHeights, int width, int height);
  void ClaimAreas(const DieAreas& areas);
  void YieldKnobsAtSeeds(std::vector<int>& taken, const std::vector<int>& heldByCorner,
                         const std::vector<int>& seedOnly);

  int columns_;
  int rows_;
  std::vector<DieCell> cells_;
  bool shared_ = false;
  bool orphaned_ = false;
};
