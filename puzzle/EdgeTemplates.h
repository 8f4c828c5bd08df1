#pragma once
// The eight template curves (T0 to T7) of one piece size and the 15 edge shapes made of them.
// Small pieces get simpler curves, so that a knob never runs into the next cut line.

#include "BezierCurve.h"
#include "ChipEdge.h"

#include <array>

class EdgeTemplates {
public:
  static constexpr int TemplateCount = 8;
  static constexpr int ShapeCount = 15;

  explicit EdgeTemplates(int pieceSize) { SetEdgeTemplates(pieceSize); }

  void SetEdgeTemplates(int pieceSize);
  const BezierCurve& Template(int number) const { return templates_[number]; }

  // Shape `index` (0 to 14), heading 0, knob toward +y.
  ChipEdge Shape(int index) const;

private:
  std::array<BezierCurve, TemplateCount> templates_;
};

// The four tables of shapes the die draws with, 15 entries each.
class EdgeTables {
public:
  explicit EdgeTables(const EdgeTemplates& templates);

  // Along a horizontal line, knob down.
  const ChipEdge& A(int index) const { return a_[index]; }
  // Along a horizontal line, knob up.
  const ChipEdge& B(int index) const { return b_[index]; }
  // Down a vertical line, knob to the left.
  const ChipEdge& C(int index) const { return c_[index]; }
  // Down a vertical line, knob to the right.
  const ChipEdge& D(int index) const { return d_[index]; }

private:
  std::array<ChipEdge, EdgeTemplates::ShapeCount> a_, b_, c_, d_;
};
