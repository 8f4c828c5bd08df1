#pragma once
// Cuts the masks of all cells of a die in one pass over its rows: each area run goes to the
// piece that took its area (or, when a line is broken, to each piece that took it, as far as
// it lies within the piece's rectangle); each stretch of cut line goes to the piece whose cell holds it, the
// lines along a cell's top and left belonging to it, those along the picture's far borders
// to the pieces beside them.

#include <memory>
#include <vector>

class CellLayout;
class ChipMask;
class DieAreas;

class MaskCutter {
public:
  MaskCutter(const DieAreas& areas, const CellLayout& layout);

  // One finished mask per cell, row by row, left to right.
  std::vector<std::unique_ptr<ChipMask>> Cut();

private:
  void CutRow(int y, int gridRow);
  void GiveLine(int first, int last, int y, int gridRow, std::size_t& column);
  void GiveArea(int area, int first, int last, int y);

  const DieAreas& areas_;
  const CellLayout& layout_;
  std::vector<int> columnEnds_;  // where each column's cells end, exclusive
  std::vector<int> rowEnds_;
  std::vector<int> claimStart_;  // per area, into claimants_
  std::vector<int> claimants_;   // cell indexes
  std::vector<std::unique_ptr<ChipMask>> masks_;
};
