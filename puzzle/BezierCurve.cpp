#include "BezierCurve.h"

#include "PixelCanvas.h"
#include "PolarPoint.h"

#include <utility>

BezierCurve::BezierCurve(float endLength, float endAngle, float firstLength, float firstAngle,
                         float secondLength, float secondAngle) {
  SetEnd(endAngle, endLength);
  SetFirst(firstAngle, firstLength);
  SetSecond(secondAngle, secondLength);
}

void BezierCurve::SetEnd(float angle, float length) {
  endAngle_ = Positive(angle);
  endLength_ = length;
}

void BezierCurve::SetFirst(float angle, float length) {
  firstAngle_ = Positive(angle);
  firstLength_ = length;
}

void BezierCurve::SetSecond(float angle, float length) {
  secondAngle_ = Positive(angle);
  secondLength_ = length;
}

QPoint BezierCurve::Draw(PixelCanvas& canvas, float scale, QPoint start) const {
  const QPoint end = PolarPoint(start, endAngle_, endLength_ / scale);
  const QPoint first = PolarPoint(start, firstAngle_, firstLength_ / scale);
  const QPoint second = PolarPoint(end, secondAngle_, secondLength_ / scale);
  canvas.PolyBezier(start, first, second, end);
  return end;
}

void BezierCurve::Mirror(bool vertical, bool reverse) {
  const float base = vertical ? 180.0f : 360.0f;
  SetEnd(base - endAngle_, endLength_);
  SetFirst(base - firstAngle_, firstLength_);
  SetSecond(base - secondAngle_, secondLength_);
  if (reverse) Reverse();
}

void BezierCurve::Reverse() {
  endAngle_ = endAngle_ >= 180 ? endAngle_ - 180 : endAngle_ + 180;
  std::swap(firstLength_, secondLength_);
  std::swap(firstAngle_, secondAngle_);
}

void BezierCurve::Rotate(float delta) {
  SetEnd(endAngle_ + delta, endLength_);
  SetFirst(firstAngle_ + delta, firstLength_);
  SetSecond(secondAngle_ + delta, secondLength_);
}
