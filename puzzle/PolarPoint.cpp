#include "PolarPoint.h"

#include <cmath>

QPoint PolarPoint(QPoint from, float angle, float length) {
  const double radians = double(angle) * double(DegreeToRadian);
  const double x = std::cos(radians) * double(length) + from.x() + 0.5;
  const double y = std::sin(radians) * double(length) + from.y() + 0.5;
  return QPoint(static_cast<int>(std::trunc(x)), static_cast<int>(std::trunc(y)));
}
