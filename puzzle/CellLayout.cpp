#include "CellLayout.h"

#include "DieAreas.h"
#include "Yelk/IntArray.h"

#include <algorithm>

CellLayout::CellLayout(const IntArray& columnWidths, const IntArray& rowHeights,
                       const DieAreas& areas)
    : columns_(columnWidths.Size()), rows_(rowHeights.Size()) {
  PlaceCells(columnWidths, rowHeights, areas.Width(), areas.Height());
  ClaimAreas(areas);
}

// Each cell reaches half its own width and height into its inner neighbours.
void CellLayout::PlaceCells(const IntArray& columnWidths, const IntArray& rowHeights, int width,
                            int height) {
  cells_.resize(std::size_t(columns_) * std::size_t(rows_));
  int y = 0;
  for (int row = 0; row < rows_; ++row) {
    const int h = rowHeights.Get(row);
    int x = 0;
    for (int column = 0; column < columns_; ++column) {
      const int w = columnWidths.Get(column);
      DieCell& cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
      cell.left = x;
      cell.top = y;
      cell.right = x + w;
      cell.bottom = y + h;
      cell.extentX = w;
      cell.extentY = h;
      if (column > 0) cell.left -= w / 2, cell.offsetX = w / 2, cell.extentX += w / 2;
      if (column < columns_ - 1) cell.right += w / 2;
      if (row > 0) cell.top -= h / 2, cell.offsetY = h / 2, cell.extentY += h / 2;
      if (row < rows_ - 1) cell.bottom += h / 2;
      cell.right = std::min(cell.right, width - 1);
      cell.bottom = std::min(cell.bottom, height - 1);
      x += w;
    }
    y += h;
  }
}

void CellLayout::ClaimAreas(const DieAreas& areas) {
  std::vector<int> taken(std::size_t(areas.AreaCount()), 0), heldByCorner(taken.size(), 0);
  // Per cell, the area only its seed reached, or -1.
  std::vector<int> seedOnly(cells_.size(), -1);
  for (std::size_t index = 0; index < cells_.size(); ++index) {
    DieCell& cell = cells_[index];
    const QRect rectangle(QPoint(cell.left, cell.top), QPoint(cell.right, cell.bottom));
    QPoint points[DieCell::MaxAreas] = {cell.Seed(areas.Width(), areas.Height())};
    for (int corner = 0; corner < 4; ++corner) points[corner + 1] = cell.Corner(corner);
    int seedArea = -1, cornerAreas[4], corners = 0;
    for (const QPoint& point : points) {
      if (!rectangle.contains(point)) continue;
      const int area = areas.AreaAt(point.x(), point.y());
      if (area < 0) continue;
      if (&point == points) {
        seedArea = area;
      } else if (std::find(cornerAreas, cornerAreas + corners, area) == cornerAreas + corners) {
        cornerAreas[corners++] = area;
        ++heldByCorner[std::size_t(area)];
      }
      if (cell.Holds(area)) continue;
      cell.areas[cell.areaCount++] = area;
      ++taken[std::size_t(area)];
    }
    const bool seedAreaAtCorner =
        std::find(cornerAreas, cornerAreas + corners, seedArea) != cornerAreas + corners;
    if (!seedAreaAtCorner) seedOnly[index] = seedArea;
  }
  YieldKnobsAtSeeds(taken, heldByCorner, seedOnly);
  shared_ = std::any_of(taken.begin(), taken.end(), [](int n) { return n > 1; });
  orphaned_ = std::find(taken.begin(), taken.end(), 0) != taken.end();
}

// A neighbour's knob can reach as far as a narrow cell's middle, where its seed lies; the
// knob's area belongs to the neighbour that holds it by a corner. The cell lets go of it when
// its corners hold an area of its own. Only a die that would otherwise be refused changes.
void CellLayout::YieldKnobsAtSeeds(std::vector<int>& taken, const std::vector<int>& heldByCorner,
                                   const std::vector<int>& seedOnly) {
  for (std::size_t index = 0; index < cells_.size(); ++index) {
    const int area = seedOnly[index];
    DieCell& cell = cells_[index];
    if (area < 0 || cell.areaCount < 2 || taken[std::size_t(area)] < 2 ||
        heldByCorner[std::size_t(area)] < 1)
      continue;
    std::remove(cell.areas, cell.areas + cell.areaCount, area);
    --cell.areaCount;
    --taken[std::size_t(area)];
  }
}
