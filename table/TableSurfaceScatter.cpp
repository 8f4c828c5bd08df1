// Scattering: loose pieces away from the table's edges are pushed a quarter of the way
// from the table's centre towards the border their ray meets.

#include "TableSurface.h"

#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "puzzle/ChipMask.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"

#include <algorithm>
#include <cmath>

namespace {

// Arithmetic quarter, towards minus infinity.
int Quarter(int value) { return value >> 2; }

// The border point is worked out in double and kept on the table: a ray nearly parallel to
// a border meets it far outside, beyond what an int holds.
int BorderCoordinate(double value, int limit) {
  return int(std::trunc(std::clamp(value, 0.0, double(limit))));
}

QPoint ScatterTarget(int cx, int cy, int w, int h) {
  const int right = w - 1, bottom = h - 1;
  const int mx = right / 2, my = bottom / 2;
  const double a = double(right) / double(std::max(bottom, 1));
  double k;
  if (cy == my) {
    k = cx < mx ? -double(0x7FFFFFFF) : double(0x7FFFFFFF);
  } else {
    k = double(cx - mx) / double(cy - my);
    if (std::fabs(k) < 0.0001) k = k < 0 ? -0.0001 : 0.0001;
  }
  if (cx < cy * a) {
    if (cx < bottom - cy) {
      const int y = BorderCoordinate(-mx / k + my, bottom);
      return {cx - Quarter(cx), cy - Quarter(cy - y)};
    }
    const int x = BorderCoordinate((bottom - my) * k + mx, right);
    return {cx + Quarter(x - cx), cy + Quarter(bottom - cy)};
  }
  if (right - cx >= cy) {
    const int x = BorderCoordinate(-my * k + mx, right);
    return {cx - Quarter(cx - x), cy - Quarter(cy)};
  }
  const int y = BorderCoordinate((right - mx) / k + my, bottom);
  return {cx + Quarter(right - cx), cy + Quarter(y - cy)};
}

// 1, 0, -1 and again, one value per fraction, so pieces on one ray do not land together.
double Jittered(double fraction) {
  static int next = 0;
  const int j = 1 - next;
  next = (next + 1) % 3;
  return std::clamp(fraction + j * 0.005, 0.001, 0.999);
}

}  // namespace

void TableSurface::Scatter() {
  bool found = false, moved = false;
  if (!chips_.IsEmpty() && puzzle_) {
    HourGlass::Scope busy;
    const int w = GetWidth(), h = GetHeight(), margin = puzzle_->GetPieceSize();
    const ChipList copy(chips_);
    for (int i = copy.Count() - 1; i >= 0; --i) {
      PuzzleChip* piece = copy.At(i);
      const int cx = piece->TableX() + piece->Mask().TableWidth() / 2;
      const int cy = piece->TableY() + piece->Mask().TableHeight() / 2;
      const bool loose = !piece->Group();
      found = found || loose;
      if (loose && cx >= margin && cx <= w - 1 - margin && cy >= margin && cy <= h - 1 - margin) {
        const QPoint target = ScatterTarget(cx, cy, w, h);
        const double fx = Jittered(double(target.x()) / std::max(w - 1, 1));
        const double fy = Jittered(double(target.y()) / std::max(h - 1, 1));
        piece->CenterAt(-1, false, false, fx, fy);
        moved = true;
      } else {
        piece->Place(-1, false, false, false, piece->TableX(), piece->TableY());
      }
      chips_.MoveToFront(piece);
    }
    Refresh();
  }
  if (!found)
    Prompt::ShowApp(QStringLiteral("There are no loose puzzle pieces to be scattered."));
  else if (!moved)
    Prompt::ShowApp(QStringLiteral(
        "The loose puzzle pieces have already been scattered as far as possible."));
  else
    puzzle_->SetChanged();
}
