#pragma once
// The turn of a piece on the table, clockwise in quarter turns: where a pixel at offset
// (lx, ly) of a w x h picture box lies in the turned box on the table, and back. The turned
// box is w x h for 0 and 180 degrees, h x w for 90 and 270. Any other angle counts as 0.

#include <QPoint>

struct QuarterTurn {
  int rotation;
  int width;
  int height;

  QPoint ToTable(int lx, int ly) const {
    switch (rotation) {
      case 90: return {height - 1 - ly, lx};
      case 180: return {width - 1 - lx, height - 1 - ly};
      case 270: return {ly, width - 1 - lx};
      default: return {lx, ly};
    }
  }
  QPoint ToPicture(int tx, int ty) const {
    switch (rotation) {
      case 90: return {ty, height - 1 - tx};
      case 180: return {width - 1 - tx, height - 1 - ty};
      case 270: return {width - 1 - ty, tx};
      default: return {tx, ty};
    }
  }
  // The picture step that goes one pixel right and one down on the table.
  QPoint DownRightStep() const {
    switch (rotation) {
      case 90: return {1, -1};
      case 180: return {-1, -1};
      case 270: return {-1, 1};
      default: return {1, 1};
    }
  }
};
