#pragma once
// Where the gutter draws, as pure arithmetic: the x of icons that share a line, and the
// darker shade of the gutter's colour for its inner edge.

#include "controls/ClassColor.h"

namespace GutterLayout {
constexpr int IconWidth = 10, IconHeight = 12;
// The x of the (k+1)-th of n icons on one line of a gutter of that width: spread evenly
// over the room left of the two edge lines.
int IconX(int width, int n, int k);
// The inner edge's colour for a gutter colour.
TColor Shade(TColor colour);
}  // namespace GutterLayout
