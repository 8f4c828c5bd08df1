#include "WheelTurn.h"

#include <QElapsedTimer>

WheelStep StepForWheel(int direction, bool holdsSelection, bool hasTable) {
  // A sideways scroll comes as a vertical delta of 0: it must not turn or restack anything.
  if (direction == 0) return WheelStep::None;
  if (holdsSelection) return direction > 0 ? WheelStep::RotateLeft : WheelStep::RotateRight;
  if (!hasTable) return WheelStep::None;
  return direction > 0 ? WheelStep::BottomToTop : WheelStep::TopToBottom;
}

namespace {
std::int64_t SteadyMs() {
  static QElapsedTimer timer;
  if (!timer.isValid()) timer.start();
  return timer.elapsed();
}
}  // namespace

WheelTurn::WheelTurn(Clock clock) : clock_(clock ? std::move(clock) : Clock(SteadyMs)) {}

int WheelTurn::Take(int delta) {
  if (delta == 0) return 0;
  const std::int64_t now = clock_();
  if (seen_ && now - last_ >= ForgetAfterMs) gathered_ = 0;
  seen_ = true;
  last_ = now;
  if (delta % Notch == 0) {
    gathered_ = 0;
    return delta > 0 ? 1 : -1;
  }
  if ((gathered_ > 0 && delta < 0) || (gathered_ < 0 && delta > 0)) gathered_ = 0;
  const std::int64_t sum = std::int64_t(gathered_) + delta;  // no overflow at the int's ends
  const std::int64_t steps = sum / Notch;                     // truncates toward zero either way
  gathered_ = int(sum - steps * Notch);
  return int(steps);
}
