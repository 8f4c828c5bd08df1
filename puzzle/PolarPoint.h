#pragma once
// The one place where a polar offset becomes a pixel. Every die depends on this arithmetic
// bit for bit (restored games are cut again and must meet their pieces), so it stays as is.

#include <QPoint>

// Degrees to radians, kept at single precision on purpose.
inline constexpr float DegreeToRadian = 0.0174532924f;

// The pixel at `length` from `from` in direction `angle` (degrees, 90 pointing down):
// computed in double and truncated toward zero after adding one half.
QPoint PolarPoint(QPoint from, float angle, float length);
