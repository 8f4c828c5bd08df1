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
  std::vector<unsigned char> taken(std::size_t(areas.AreaCount()), 0);
  for (DieCell& cell : cells_) {
    const QRect rectangle(QPoint(cell.left, cell.top), QPoint(cell.right, cell.bottom));
    QPoint points[DieCell::MaxAreas] = {cell.Seed(areas.Width(), areas.Height())};
    for (int corner = 0; corner < 4; ++corner) points[corner + 1] = cell.Corner(corner);
    for (const QPoint& point : points) {
      if (!rectangle.contains(point)) continue;
      const int area = areas.AreaAt(point.x(), point.y());
      if (area < 0 || cell.Holds(area)) continue;
      cell.areas[cell.areaCount++] = area;
      if (taken[std::size_t(area)]++) shared_ = true;
    }
  }
}
