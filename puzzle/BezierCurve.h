#pragma once
// One cubic segment of a piece side, in polar form relative to the side: lengths in
// ten-thousandths of the side's length, angles in degrees (0 along +x, 90 along +y).

#include <QPoint>

class PixelCanvas;

class BezierCurve {
public:
  BezierCurve() = default;
  BezierCurve(float endLength, float endAngle, float firstLength, float firstAngle,
              float secondLength, float secondAngle);

  // Each sets one polar point; a negative angle gets 360 added.
  void SetEnd(float angle, float length);
  void SetFirst(float angle, float length);
  void SetSecond(float angle, float length);

  // Draws the segment from `start` with a length scale of 10000 / side length, and returns
  // its end point. Like every curve, the end point itself is left for the next one.
  QPoint Draw(PixelCanvas& canvas, float scale, QPoint start) const;

  // Reflects every angle: 180 - a when `vertical` (across a vertical line), else 360 - a.
  void Mirror(bool vertical, bool reverse);
  // Runs the segment the other way: the end turns by 180, the control points swap.
  void Reverse();
  void Rotate(float delta);

  float EndLength() const { return endLength_; }
  float EndAngle() const { return endAngle_; }
  float FirstLength() const { return firstLength_; }
  float FirstAngle() const { return firstAngle_; }
  float SecondLength() const { return secondLength_; }
  float SecondAngle() const { return secondAngle_; }

  bool operator==(const BezierCurve&) const = default;

private:
  static float Positive(float angle) { return angle < 0 ? angle + 360 : angle; }

  float endLength_ = 0;
  float endAngle_ = 0;
  float firstLength_ = 0;
  float firstAngle_ = 0;
  float secondLength_ = 0;
  float secondAngle_ = 0;
};
