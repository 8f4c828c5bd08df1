#include "EdgeTemplates.h"

namespace {

// Templates of curves 0, 1, 2 and 3 for each shape.
constexpr int ShapeTemplates[EdgeTemplates::ShapeCount][4] = {
    {0, 2, 5, 1}, {0, 4, 2, 0}, {1, 5, 3, 0}, {0, 4, 7, 1}, {0, 3, 2, 0},
    {1, 5, 2, 0}, {0, 2, 2, 0}, {0, 2, 7, 1}, {0, 4, 5, 1}, {1, 6, 2, 0},
    {0, 4, 4, 0}, {0, 3, 5, 1}, {0, 2, 4, 0}, {1, 5, 2, 0}, {0, 2, 3, 0},
};

}  // namespace

void EdgeTemplates::SetEdgeTemplates(int pieceSize) {
  BezierCurve* t = templates_.data();
  t[1] = BezierCurve(4000, 0, 800, 0, 800, 285);
  t[0] = pieceSize > 18 ? BezierCurve(4020, 6, 1649, 14, 2683, 243) : t[1];
  t[4] = BezierCurve(600, 230, 400, 240, 400, 75);
  t[7] = t[4];
  if (pieceSize > 21) {
    t[2] = BezierCurve(1200, 250, 0, 297, 0, 75);
    t[3] = BezierCurve(1200, 270, 0, 297, 0, 90);
    t[5] = BezierCurve(1200, 250, 0, 270, 0, 75);
    t[6] = BezierCurve(1200, 270, 0, 270, 0, 90);
  } else {
    t[2] = t[3] = t[5] = t[6] = t[4];
  }
}

ChipEdge EdgeTemplates::Shape(int index) const {
  const int* uses = ShapeTemplates[index];
  ChipEdge edge(0);
  edge.Curve(0) = templates_[uses[0]];
  edge.Curve(1) = templates_[uses[1]];
  edge.Curve(1).Mirror(false, false);
  edge.Curve(2) = templates_[uses[2]];
  edge.Curve(2).Mirror(false, false);
  edge.Curve(2).Mirror(true, false);
  edge.Curve(3) = templates_[uses[3]];
  edge.Curve(3).Mirror(true, false);
  return edge;
}

EdgeTables::EdgeTables(const EdgeTemplates& templates) {
  for (int i = 0; i < EdgeTemplates::ShapeCount; ++i) {
    a_[i] = templates.Shape(i);
    b_[i] = a_[i];
    b_[i].Mirror(false, false);
    c_[i] = a_[i];
    c_[i].Rotate(90);
    d_[i] = c_[i];
    d_[i].Mirror(true, false);
  }
}
