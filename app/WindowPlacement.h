#pragma once
// Where a saved window goes: inside the available area of the screen, so that a window
// saved on a monitor that has since gone does not open out of reach.

#include <QRect>

namespace WindowPlacement {
// The saved rectangle, its size cut down to the area and moved in until all of it lies inside.
QRect PlaceInside(const QRect& saved, const QRect& available);
}
