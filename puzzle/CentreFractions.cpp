#include "CentreFractions.h"

#include "Yelk/TMsgLog.h"

#include <cmath>

namespace {
bool IsFraction(double value) { return std::isfinite(value) && value >= 0 && value <= 1; }
}  // namespace

bool MendCentreFractions(double& centreX, double& centreY) {
  if (IsFraction(centreX) && IsFraction(centreY)) return true;
  TMsgLog::Add(QStringLiteral("Invalid centering values: x=%1, y=%2").arg(centreX).arg(centreY));
  if (!IsFraction(centreX)) centreX = 0.5;
  if (!IsFraction(centreY)) centreY = 0.5;
  return false;
}
