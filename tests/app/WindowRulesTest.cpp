// The main window's rules that need no window: where a saved window goes, what the wheel does.

#include "WheelTurn.h"
#include "WindowPlacement.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

// Over many saved places and screens: the window lies wholly inside the screen's area, keeps
// its size where it fits, and a window that already lay inside does not move.
TEST(WindowPlacement, SavedWindowComesBackInsideTheScreen) {
  QRandomGenerator random(16);
  for (int i = 0; i < 5000; ++i) {
    const QRect area(random.bounded(-2000, 4000), random.bounded(-1000, 2000),
                     random.bounded(400, 3000), random.bounded(300, 2000));
    const QRect saved(random.bounded(-6000, 8000), random.bounded(-6000, 8000),
                      random.bounded(1, 4000), random.bounded(1, 3000));
    const QRect placed = WindowPlacement::PlaceInside(saved, area);
    ASSERT_TRUE(area.contains(placed)) << i;
    EXPECT_EQ(placed.width(), std::min(saved.width(), area.width()));
    EXPECT_EQ(placed.height(), std::min(saved.height(), area.height()));
    if (area.contains(saved)) {
      EXPECT_EQ(placed, saved);
    }
  }
}

// Whole notches act once whatever their number; anything else, zero above all (a sideways
// scroll), does nothing.
TEST(WheelTurn, OnlyWholeNotchesActOnce) {
  for (int delta = -1200; delta <= 1200; delta += 15) {
    const bool notch = delta != 0 && delta % 120 == 0;
    const WheelStep carried = StepForWheel(delta, true, true);
    const WheelStep loose = StepForWheel(delta, false, true);
    if (!notch) {
      EXPECT_EQ(carried, WheelStep::None) << delta;
      EXPECT_EQ(loose, WheelStep::None) << delta;
      continue;
    }
    EXPECT_EQ(carried, delta > 0 ? WheelStep::RotateLeft : WheelStep::RotateRight) << delta;
    EXPECT_EQ(loose, delta > 0 ? WheelStep::BottomToTop : WheelStep::TopToBottom) << delta;
    EXPECT_EQ(StepForWheel(delta, false, false), WheelStep::None) << delta;
  }
}
