// The main window's rules that need no window: where a saved window goes, what the wheel does.

#include "WheelTurn.h"
#include "WindowPlacement.h"

#include <QMargins>
#include <QRandomGenerator>
#include <cstdint>
#include <vector>
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

// The saved place is the client's; the window manager's frame goes round it. Over many frames:
// the framed window lies inside the area, the client keeps its size where the framed window
// fits, and a client whose framed window already lay inside stays where it was.
TEST(WindowPlacement, FramedWindowComesBackInsideTheScreen) {
  QRandomGenerator random(23);
  for (int i = 0; i < 5000; ++i) {
    const QRect area(random.bounded(-2000, 4000), random.bounded(-1000, 2000),
                     random.bounded(400, 3000), random.bounded(300, 2000));
    const QMargins frame(random.bounded(0, 12), random.bounded(0, 40), random.bounded(0, 12), random.bounded(0, 12));
    const QRect saved(random.bounded(-6000, 8000), random.bounded(-6000, 8000),
                      random.bounded(1, 4000), random.bounded(1, 3000));
    const QRect placed = WindowPlacement::PlaceClientInside(saved, frame, area);
    ASSERT_TRUE(area.contains(placed.marginsAdded(frame))) << i;
    EXPECT_EQ(placed.width(), std::min(saved.width(), area.width() - frame.left() - frame.right())) << i;
    EXPECT_EQ(placed.height(), std::min(saved.height(), area.height() - frame.top() - frame.bottom())) << i;
    if (area.contains(saved.marginsAdded(frame))) {
      EXPECT_EQ(placed, saved);
    }
  }
}

// The first start's place, 10,10, under a title bar 20 high: the client moves down just far
// enough for the title bar, and not at all sideways.
TEST(WindowPlacement, TitleBarComesOntoTheScreen) {
  const QRect placed = WindowPlacement::PlaceClientInside(QRect(10, 10, 800, 500), QMargins(1, 20, 1, 5),
                                                          QRect(0, 0, 1280, 1024));
  EXPECT_EQ(placed, QRect(10, 20, 800, 500));
}

// What a step does depends on what is carried; a sideways scroll (0) does nothing.
TEST(WheelTurn, StepTurnsTheCarriedPiecesOrRestacksTheTable) {
  for (int direction : {-3, -1, 0, 1, 2}) {
    const WheelStep carried = StepForWheel(direction, true, true);
    const WheelStep loose = StepForWheel(direction, false, true);
    if (direction == 0) {
      EXPECT_EQ(carried, WheelStep::None);
      EXPECT_EQ(loose, WheelStep::None);
      continue;
    }
    EXPECT_EQ(carried, direction > 0 ? WheelStep::RotateLeft : WheelStep::RotateRight) << direction;
    EXPECT_EQ(loose, direction > 0 ? WheelStep::BottomToTop : WheelStep::TopToBottom) << direction;
    EXPECT_EQ(StepForWheel(direction, false, false), WheelStep::None) << direction;
  }
}

namespace {
// The wheel rule written out plainly: every part of a notch since the last reset is kept,
// and an event gives the whole notches of their total that were not given yet.
class WheelModel {
public:
  int Event(int delta, std::int64_t at) {
    if (delta == 0) return 0;
    if (!times.empty() && at - times.back() >= 500) Reset();
    times.push_back(at);
    if (delta % 120 == 0) {
      Reset();
      return delta > 0 ? 1 : -1;
    }
    if (!parts.empty() && (parts.front() > 0) != (delta > 0)) Reset();
    parts.push_back(delta);
    int total = 0;
    for (int part : parts) total += part;
    const int due = total / 120 - given;
    given += due;
    return due;
  }

private:
  void Reset() {
    parts.clear();
    given = 0;
  }
  std::vector<int> parts;
  std::vector<std::int64_t> times;
  int given = 0;
};
}  // namespace

// Random runs of deltas (either sign, 1 to 240, whole notches among them) with random pauses
// around the forgetting time give the model's steps event by event.
TEST(WheelTurn, GathersPartsOfANotchLikeTheModel) {
  QRandomGenerator random(40);
  for (int run = 0; run < 400; ++run) {
    std::int64_t now = random.bounded(0, 100000);
    WheelTurn wheel([&now] { return now; });
    WheelModel model;
    // Some runs keep one direction for long stretches, others change often.
    const int flipChance = int(random.bounded(1, 60));
    int sign = 1;
    for (int event = 0; event < 200; ++event) {
      if (int(random.bounded(100)) < flipChance) sign = -sign;
      const int size = random.bounded(4) == 0 ? 120 * int(random.bounded(1, 3)) : int(random.bounded(1, 241));
      const int delta = sign * size;
      const int pause = random.bounded(10) == 0 ? int(random.bounded(450, 700)) : int(random.bounded(0, 40));
      now += pause;
      ASSERT_EQ(wheel.Take(delta), model.Event(delta, now)) << "run " << run << " event " << event;
    }
  }
}

// The cases a touchpad and a mouse send: fifteens make a step every eighth event; a notch
// acts once and drops what was gathered; a pause or a turn back drops it too.
TEST(WheelTurn, TouchpadAndNotchExamples) {
  std::int64_t now = 0;
  WheelTurn wheel([&now] { return now; });
  int steps = 0;
  for (int i = 0; i < 16; ++i) steps += wheel.Take(15);
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(wheel.Take(60), 0);
  EXPECT_EQ(wheel.Take(240), 1);
  EXPECT_EQ(wheel.Take(60), 0);  // the 60 before the notch is gone
  now += 500;
  EXPECT_EQ(wheel.Take(60), 0);  // and so is this one, after the pause
  EXPECT_EQ(wheel.Take(-60), 0);
  EXPECT_EQ(wheel.Take(-60), -1);
  EXPECT_EQ(wheel.Take(0), 0);
  EXPECT_EQ(wheel.Take(-360), -1);
  EXPECT_EQ(wheel.Take(250), 2);
}
