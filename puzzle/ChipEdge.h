#pragma once
// One side of a piece: four curves and a heading. Curves 0 and 1 run forward from the side's
// start, curves 3 and 2 backward from its end, and a bridge joins their tips (the knob).

#include "BezierCurve.h"

#include <QPoint>

#include <array>

class PixelCanvas;

class ChipEdge {
public:
  explicit ChipEdge(float heading = 0);

  BezierCurve& Curve(int index) { return curves_[index]; }
  const BezierCurve& Curve(int index) const { return curves_[index]; }
  float Heading() const { return heading_; }

  // Draws the side from `start` (scale = 10000 / side length) and returns its straight end.
  QPoint Draw(PixelCanvas& canvas, float scale, QPoint start) const;
  void Mirror(bool vertical, bool reverse);
  void Rotate(float delta);

  bool operator==(const ChipEdge&) const = default;

private:
  std::array<BezierCurve, 4> curves_;
  float heading_;
};
