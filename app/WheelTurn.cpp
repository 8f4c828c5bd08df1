#include "WheelTurn.h"

WheelStep StepForWheel(int delta, bool holdsSelection, bool hasTable) {
  // A sideways scroll comes as a vertical delta of 0: it must not turn or restack anything.
  if (delta == 0 || delta % 120 != 0) return WheelStep::None;
  if (holdsSelection) return delta > 0 ? WheelStep::RotateLeft : WheelStep::RotateRight;
  if (!hasTable) return WheelStep::None;
  return delta > 0 ? WheelStep::BottomToTop : WheelStep::TopToBottom;
}
