// A seed replays its storm step for step, every act comes up, a third of the steps follow at
// once, and a step's point lies inside the window it aims at.

#include "StormHands.h"
#include "StormPlan.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {
std::vector<StormEvent> Steps(std::uint64_t seed, int count) {
  StormPlan plan(seed);
  std::vector<StormEvent> steps;
  for (int i = 0; i < count; ++i) steps.push_back(plan.Next());
  return steps;
}

bool Same(const StormEvent& a, const StormEvent& b) { return a.act == b.act && a.r == b.r && a.pauseMs == b.pauseMs; }
}  // namespace

TEST(StormPlanTest, ASeedReplaysItsStepsAndAnotherDoesNot) {
  const std::vector<StormEvent> first = Steps(17, 500), again = Steps(17, 500), other = Steps(18, 500);
  int same = 0, sameAsOther = 0;
  for (int i = 0; i < 500; ++i) {
    same += Same(first[i], again[i]);
    sameAsOther += Same(first[i], other[i]);
  }
  EXPECT_EQ(same, 500);
  EXPECT_EQ(sameAsOther, 0);
  // The standard fixes the generator: the first step of seed 17 is the same on every machine.
  EXPECT_EQ(first[0].act, Steps(17, 1)[0].act);
}

TEST(StormPlanTest, EveryActComesAndAThirdOfTheStepsFollowAtOnce) {
  std::map<Act, int> seen;
  int atOnce = 0, longest = 0;
  for (const StormEvent& step : Steps(5, 4000)) {
    ++seen[step.act];
    atOnce += step.pauseMs == 0;
    longest = std::max(longest, step.pauseMs);
  }
  EXPECT_EQ(seen.size(), std::size_t(Act::DeleteSource) + 1);
  EXPECT_GT(atOnce, 4000 * 25 / 100);
  EXPECT_LT(atOnce, 4000 * 45 / 100);
  EXPECT_LT(longest, 1200);
  EXPECT_GT(seen[Act::Key], seen[Act::DeleteSource] * 5);
}

TEST(StormPlanTest, APointLiesInsideItsWindowAndTheTargetIsOneOfTheWindows) {
  const std::vector<GameWindow> windows{{1, QRect(10, 20, 800, 600), QStringLiteral("Tessavinelume Jigsaw Puzzles - a"), false},
                                        {2, QRect(300, 200, 147, 114), QStringLiteral("Box Cover Image"), false},
                                        {3, QRect(400, 250, 90, 60), QString(), true}};
  for (std::uint32_t r : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    StormEvent step;
    step.r = {r, r, r, r, r};
    const GameWindow& target = StormHands::Target(step, 2, windows);
    EXPECT_TRUE(target.id >= 1 && target.id <= 3);
    EXPECT_TRUE(target.rect.contains(StormHands::PointIn(target, step, 0, 1))) << r;
  }
  // The main window is the game's large titled one, never a pop-up.
  EXPECT_EQ(StormHands::MainWindow(windows).id, 1u);
  EXPECT_EQ(StormHands::MainWindow({windows[2], windows[1]}).id, 2u);
  EXPECT_TRUE(StormHands::KeysOnly({0, {}, QStringLiteral("Save As"), false}));
  EXPECT_TRUE(StormHands::KeysOnly({0, {}, QStringLiteral("Open/Create a Jigsaw Puzzle"), false}));
  EXPECT_FALSE(StormHands::KeysOnly({0, {}, QStringLiteral("About the Puzzle"), false}));
}
