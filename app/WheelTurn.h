#pragma once
// What the mouse wheel does on the main window: turn the carried pieces, or restack the
// table's pieces. A whole notch (120) is one step, however many notches one event reports;
// touchpads and fine wheels send parts of a notch, which are gathered until they make one.

#include <cstdint>
#include <functional>

enum class WheelStep { None, RotateLeft, RotateRight, BottomToTop, TopToBottom };

// direction: above 0 the wheel turned away from the player, below 0 towards; 0 does nothing.
WheelStep StepForWheel(int direction, bool holdsSelection, bool hasTable);

class WheelTurn {
public:
  // Milliseconds from any fixed start.
  using Clock = std::function<std::int64_t()>;
  static constexpr int Notch = 120;
  // Parts of a notch older than this are forgotten.
  static constexpr std::int64_t ForgetAfterMs = 500;

  explicit WheelTurn(Clock clock = {});

  // The steps one event's vertical delta (eighths of a degree) gives: positive away from the
  // player, negative towards, 0 for none. A non-zero multiple of a notch is one step and
  // forgets the parts gathered; anything else is gathered, and each full notch gathered is a
  // step. A turn the other way, or a pause, forgets what was gathered.
  int Take(int delta);

private:
  Clock clock_;
  int gathered_ = 0;
  std::int64_t last_ = 0;
  bool seen_ = false;
};
