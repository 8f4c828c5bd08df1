#pragma once
// One grid cell of the cutting die as its piece is cut out: the die rectangle searched for
// the piece (the cell widened by half a cell towards each inner neighbour), where the cell
// itself lies in it, and the die areas that belong to the piece.

#include <QPoint>

struct DieCell {
  static constexpr int MaxAreas = 5;  // the seed's and the four corners'

  // The rectangle, inclusive, in die coordinates.
  int left = 0, top = 0, right = 0, bottom = 0;
  // The cell's top-left corner and its right and bottom grid lines, inside the rectangle.
  int offsetX = 0, offsetY = 0, extentX = 0, extentY = 0;
  int areas[MaxAreas] = {};
  int areaCount = 0;

  // Where the cell ends in die coordinates, exclusive: the cut-line pixels in it belong to the
  // piece (the lines along its top and left, and along the picture's far borders).
  int BandRight() const { return left + extentX; }
  int BandBottom() const { return top + extentY; }

  // Where the rectangle touches the die's border, the left and right columns first, then the
  // top and bottom rows: 1 top left, 2 top right, 3 bottom left, 4 bottom right, 5 top,
  // 6 bottom, 7 left, 8 right, 9 inside.
  int EdgeClass(int dieWidth, int dieHeight) const {
    static constexpr int classes[3][3] = {{1, 7, 3}, {5, 9, 6}, {2, 8, 4}};
    const int column = left == 0 ? 0 : right == dieWidth - 1 ? 2 : 1;
    const int row = top == 0 ? 0 : bottom == dieHeight - 1 ? 2 : 1;
    return classes[column][row];
  }
  bool Holds(int area) const {
    for (int i = 0; i < areaCount; ++i)
      if (areas[i] == area) return true;
    return false;
  }
  // Where the piece's area is looked for first: the middle of the rectangle, or next to the
  // die's edge where the rectangle reaches it.
  QPoint Seed(int dieWidth, int dieHeight) const {
    return {left + SeedOffset(left, right, dieWidth), top + SeedOffset(top, bottom, dieHeight)};
  }
  // Just inside the cell's corners: parts of the area that a knob cuts off from the middle.
  QPoint Corner(int index) const {
    const int x = index == 1 || index == 2 ? extentX - 1 : offsetX + 1;
    const int y = index >= 2 ? extentY - 1 : offsetY + 1;
    return {left + x, top + y};
  }

private:
  static int SeedOffset(int low, int high, int side) {
    if (low == 0) return 1;
    if (high == side - 1) return high - low - 1;
    return (high - low + 1) / 2;
  }
};
