#pragma once
// The control panel's performance LEDs follow the table surface's playback reports: green
// while a step takes at most one tick of the animation timer, yellow when steps take longer.

#include "table/PerformanceStats.h"

class SmallLed;

namespace PerformanceLeds {

// The longest average step, in ms, that keeps up with the timer.
constexpr int KeepsUpMs = 67;
// Offered when playback lags on a screen of fewer than 32 bits per pixel.
constexpr int ColourDepthTip = 21;

void Show(const PerformanceStats& stats, SmallLed& green, SmallLed& yellow, int colourDepth);

}  // namespace PerformanceLeds
