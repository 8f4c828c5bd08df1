#include "PerformanceLeds.h"

#include "controls/SmallLed.h"
#include "puzzle/TipDisplay.h"

namespace PerformanceLeds {

void Show(const PerformanceStats& stats, SmallLed& green, SmallLed& yellow, int colourDepth) {
  if (!stats.running || stats.first < 0) {
    green.SetLit(false);
    yellow.SetLit(false);
    return;
  }
  if (stats.first <= KeepsUpMs) {
    green.SetLit(true);
    yellow.SetLit(false);
    return;
  }
  green.SetLit(false);
  if (yellow.IsLit()) return;
  yellow.SetLit(true);
  if (colourDepth < 32) TipDisplay::Show(ColourDepthTip);
}

}  // namespace PerformanceLeds
