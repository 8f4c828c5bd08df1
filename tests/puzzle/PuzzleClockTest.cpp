#include "puzzle/PuzzleClock.h"

#include <gtest/gtest.h>

namespace {

// Drives the clock's tick source by hand.
struct ManualTicks {
  ManualTicks() { PuzzleClock::SetTickSource([this] { return now; }); }
  ~ManualTicks() { PuzzleClock::SetTickSource({}); }
  std::uint32_t now = 0;
};

}  // namespace

// A stretch is rounded to whole seconds when stopped and truncated while running; one that
// starts at tick 0 counts like any other, and one across the 32-bit wrap still counts.
TEST(PuzzleClockTest, StretchesFromTickZeroAndAcrossTheWrap) {
  ManualTicks ticks;
  PuzzleClock clock;
  clock.Start();
  ticks.now = 2499;
  EXPECT_EQ(clock.ElapsedSeconds(), 2);
  clock.Stop(false);
  EXPECT_EQ(clock.ElapsedSeconds(), 2);

  ticks.now = 0xFFFFFC18u;  // one second before the wrap
  clock.Start();
  ticks.now = 2000;
  EXPECT_EQ(clock.ElapsedSeconds(), 5);
  clock.Stop(false);
  EXPECT_EQ(clock.ElapsedSeconds(), 5);
}

// Starting twice does not restart the stretch; a frozen clock never starts again.
TEST(PuzzleClockTest, StartTwiceAndFreeze) {
  ManualTicks ticks;
  PuzzleClock clock;
  clock.Start();
  ticks.now = 5000;
  clock.Start();
  ticks.now = 7000;
  EXPECT_EQ(clock.ElapsedSeconds(), 7);
  clock.Stop(true);
  clock.Start();
  ticks.now = 60000;
  EXPECT_FALSE(clock.IsRunning());
  EXPECT_EQ(clock.ElapsedSeconds(), 7);
}
