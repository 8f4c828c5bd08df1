#include "ChipEdge.h"

#include "PixelCanvas.h"
#include "PolarPoint.h"

#include <algorithm>
#include <cstdlib>

namespace {

float Opposite(float angle) {
  const float turned = angle + 180;
  return turned >= 360 ? turned - 360 : turned;
}

}  // namespace

ChipEdge::ChipEdge(float heading) : heading_(heading) {}

QPoint ChipEdge::Draw(PixelCanvas& canvas, float scale, QPoint start) const {
  const float length = 10000 / scale;
  const QPoint end = PolarPoint(start, heading_, length);
  const float towardTip1 = Opposite(curves_[1].SecondAngle());
  const float towardTip2 = Opposite(curves_[2].SecondAngle());

  const QPoint p1 = curves_[0].Draw(canvas, scale, start);
  const QPoint p2 = curves_[1].Draw(canvas, scale, p1);
  const QPoint p3 = curves_[3].Draw(canvas, scale, end);
  const QPoint p4 = curves_[2].Draw(canvas, scale, p3);

  const float gap = float(std::max(std::abs(p2.x() - p4.x()), std::abs(p2.y() - p4.y())));
  canvas.PolyBezier(p2, PolarPoint(p2, towardTip1, gap), PolarPoint(p4, towardTip2, gap), p4);
  // Curve 2 and the bridge both stop short of the knob's tip; nothing else draws it.
  canvas.SetPixel(p4.x(), p4.y());
  return end;
}

void ChipEdge::Mirror(bool vertical, bool reverse) {
  for (BezierCurve& curve : curves_) curve.Mirror(vertical, reverse);
}

void ChipEdge::Rotate(float delta) {
  heading_ += delta;
  if (heading_ < 0) heading_ += 360;
  for (BezierCurve& curve : curves_) curve.Rotate(delta);
}
