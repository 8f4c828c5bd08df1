#include "StateSwitchHold.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {
struct Counts {
  int holds = 0;
  int releases = 0;
};

std::unique_ptr<StateSwitchHold> MakeHold(Counts& counts) {
  return std::make_unique<StateSwitchHold>([&counts] { ++counts.holds; }, [&counts] { ++counts.releases; });
}
}  // namespace

// The table is held once however often a switch begins, and let go once: after the window
// has reached its state and stayed quiet, not before.
TEST(StateSwitchHoldTest, HoldsOnceAndLetsGoOnlyOnceTheWindowIsThereAndQuiet) {
  Counts counts;
  auto hold = MakeHold(counts);
  bool reached = false;
  int asked = 0;
  const auto isReached = [&] {
    ++asked;
    return reached;
  };
  hold->Begin(isReached);
  hold->Begin(isReached);
  EXPECT_EQ(counts.holds, 1);
  // The quiet time is over and the window not there yet.
  EXPECT_TRUE(QTest::qWaitFor([&] { return asked > 0; }, StateSwitchHold::LimitMillis));
  EXPECT_EQ(counts.releases, 0);
  EXPECT_TRUE(hold->IsHolding());
  reached = true;
  hold->Changed();
  EXPECT_TRUE(QTest::qWaitFor([&] { return counts.releases == 1; }, StateSwitchHold::LimitMillis));
  EXPECT_FALSE(hold->IsHolding());
  hold->End();
  hold->Changed();
  EXPECT_EQ(counts.releases, 1);
}

// A window manager that never gives the state holds the table for a limited time only.
TEST(StateSwitchHoldTest, ANeverReachedStateIsLetGoAtTheLimit) {
  Counts counts;
  auto hold = MakeHold(counts);
  hold->Begin([] { return false; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return counts.releases == 1; }, StateSwitchHold::LimitMillis * 3));
  EXPECT_EQ(counts.holds, 1);
}
