// What the player's actions on the table lead to beyond the pieces themselves: the tips that
// mini drops, captures, releases, turned drops and the last joins offer or retire, which way
// a turn goes and where the grabbed point ends up, the hint marks and the clock.

#include "PuzzleOnTableTest.h"
#include "TableHands.h"
#include "tests/puzzle/PuzzleFixtures.h"
#include "tests/puzzle/TableFixtures.h"

#include "puzzle/ChipGroup.h"
#include "settings/ProgSettings.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

using TableHands::Carry;
using TableHands::Grip;
using TableHands::Take;

// Tip numbers as the player meets them.
constexpr int MiniDropTip = 0, MiniUseTip = 1, TurnedDropTip = 2, HintTip = 11, MiniHintTip = 12;
constexpr int CaptureTip = 14, ReleaseTip = 15, SweepTip = 16, LastGroupTip = 20;

class PlayerActionsTest : public PuzzleOnTableTest {
protected:
  void SetUp() override { TableHands::PlaySettings(); }
  // A loose piece on the table that shows, other than those given.
  static PuzzleChip* LoosePiece(HeadlessTable& t, std::initializer_list<const PuzzleChip*> except = {}) {
    ChipList& list = t.surface.GetChipList();
    for (int i = list.Count() - 1; i >= 0; --i) {
      PuzzleChip* p = list.At(i);
      if (!p->Group() && std::find(except.begin(), except.end(), p) == except.end() && Grip(t.surface, *p)) return p;
    }
    return nullptr;
  }
  // Carries a loose piece onto mini 1.
  static void DropOnMini(HeadlessTable& t) {
    PuzzleChip* p = LoosePiece(t);
    ASSERT_TRUE(p);
    t.host.miniUnder = t.minis[1].get();
    ASSERT_TRUE(Carry(t, *p, QPoint(p->TableX(), p->TableY())));
    t.host.miniUnder = nullptr;
    ASSERT_TRUE(t.minis[1]->Chips().Contains(p));
  }
  // Carries a loose piece to the table's top-left corner and back where it was.
  static void DropOnTable(HeadlessTable& t, bool turned = false) {
    PuzzleChip* p = LoosePiece(t);
    ASSERT_TRUE(p);
    const QPoint home(p->TableX(), p->TableY());
    ASSERT_TRUE(Take(t, *p));
    if (turned) t.surface.RotateRight();
    const QPoint to = TableHands::PointerFor(*t.surface.Selection(), *p, home);
    t.surface.DropSelection(true, to.x(), to.y());
    ASSERT_EQ(t.surface.Selection(), nullptr);
    ASSERT_EQ(p->Group(), nullptr);
  }
  void Capture(HeadlessTable& t) {
    PuzzleChip* p = LoosePiece(t);
    ASSERT_TRUE(p);
    const QPoint at = *Grip(t.surface, *p);
    EXPECT_FALSE(t.surface.MouseDown(TableSurface::MiddleButton, at.x(), at.y()));
    t.surface.MouseUp(TableSurface::MiddleButton, at.x(), at.y());
    ASSERT_TRUE(PuzzleChip::CapturedList().Contains(p));
  }

  RecordedTips tips;
};

TEST_F(PlayerActionsTest, TheThirdMiniDropInARowOffersTheCaptureTip) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  DropOnMini(t);
  // A drop onto a mini is the use of the mini tables and of the last-group advice.
  EXPECT_EQ(tips.used, QList<int>({MiniUseTip, LastGroupTip, MiniDropTip}));
  DropOnMini(t);
  EXPECT_TRUE(tips.shown.isEmpty());
  // A drop on the table breaks the run.
  DropOnTable(t);
  DropOnMini(t);
  DropOnMini(t);
  EXPECT_TRUE(tips.shown.isEmpty());
  DropOnMini(t);
  EXPECT_EQ(tips.shown, QList<int>({CaptureTip}));
  DropOnMini(t);
  EXPECT_EQ(tips.shown, QList<int>({CaptureTip}));
  puzzle.reset();
}

TEST_F(PlayerActionsTest, TheFifthCaptureSinceTheLastDropOffersTheSweepTipAndAReleaseRetiresItsOwn) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  // Every capture offers the release tip and retires its own.
  for (int i = 0; i < 4; ++i) Capture(t);
  EXPECT_EQ(tips.used, QList<int>(4, CaptureTip));
  EXPECT_EQ(tips.shown, QList<int>(4, ReleaseTip));
  DropOnTable(t);
  for (int i = 0; i < 4; ++i) Capture(t);
  EXPECT_EQ(tips.shown, QList<int>(8, ReleaseTip));
  Capture(t);
  EXPECT_EQ(tips.shown, QList<int>(9, ReleaseTip) << SweepTip);
  Capture(t);
  EXPECT_EQ(tips.shown, QList<int>(9, ReleaseTip) << SweepTip << ReleaseTip);
  // A press on the bare felt lets the last one out.
  tips.used.clear();
  const int captured = PuzzleChip::CapturedList().Count();
  EXPECT_FALSE(t.surface.MouseDown(TableSurface::MiddleButton, 2, 2));
  t.surface.MouseUp(TableSurface::MiddleButton, 2, 2);
  EXPECT_EQ(PuzzleChip::CapturedList().Count(), captured - 1);
  EXPECT_EQ(tips.used, QList<int>({ReleaseTip}));
  while (!PuzzleChip::CapturedList().IsEmpty()) t.surface.ReleaseAt(200, 150);
  puzzle.reset();
}

// The count runs over the program's run: here the test's own.
TEST_F(PlayerActionsTest, TheThirdTurnedLooseDropOffersTheTurnTip) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  for (int i = 0; i < 3; ++i) DropOnTable(t);
  DropOnTable(t, true);
  DropOnTable(t, true);
  EXPECT_TRUE(tips.shown.isEmpty());
  DropOnTable(t, true);
  EXPECT_EQ(tips.shown, QList<int>({TurnedDropTip}));
  puzzle.reset();
}

// Let go over a mini, a piece goes there even when it lies right at a neighbour's side.
TEST_F(PlayerActionsTest, ADropOntoAMiniBesideANeighbourGoesToTheMiniUnjoined) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  ChipList& list = t.surface.GetChipList();
  PuzzleChip* a = nullptr;
  for (int i = 0; i < list.Count() && !a; ++i)
    if (list.At(i)->Neighbour(ChipSide::Right)) a = list.At(i);
  PuzzleChip* b = a->Neighbour(ChipSide::Right);
  const int onTable = list.Count();
  t.host.miniUnder = t.minis[2].get();
  ASSERT_TRUE(Carry(t, *b, TableFixtures::JoinedPlace(*a, *b)));
  t.host.miniUnder = nullptr;
  EXPECT_EQ(a->Group(), nullptr);
  EXPECT_EQ(b->Group(), nullptr);
  EXPECT_EQ(puzzle->GetJoins(), 0);
  EXPECT_TRUE(t.minis[2]->Chips().Contains(b));
  EXPECT_EQ(list.Count(), onTable - 1);
  EXPECT_FALSE(list.Contains(b));
  puzzle.reset();
}

// Three pieces in a row on the table, all others on mini 1.
class LastGroupTest : public PlayerActionsTest {
protected:
  void Row(HeadlessTable& t, PuzzleChip*& a, PuzzleChip*& b, PuzzleChip*& c, bool othersToMini) {
    ChipList& list = t.surface.GetChipList();
    a = b = c = nullptr;
    for (int i = 0; i < list.Count() && !c; ++i) {
      a = list.At(i);
      b = a->Neighbour(ChipSide::Right);
      c = b ? b->Neighbour(ChipSide::Right) : nullptr;
    }
    ASSERT_TRUE(c);
    t.host.miniUnder = t.minis[1].get();
    while (othersToMini) {
      PuzzleChip* other = LoosePiece(t, {a, b, c});
      if (!other) break;
      ASSERT_TRUE(Carry(t, *other, QPoint(0, 0)));
    }
    t.host.miniUnder = nullptr;
    tips.shown.clear();
  }
};

TEST_F(LastGroupTest, TheJoinThatLeavesOneGroupOnTheTableOffersTheMiniAdvice) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  PuzzleChip *a, *b, *c;
  Row(t, a, b, c, true);
  ASSERT_EQ(t.surface.GetChipList().Count(), 3);
  ASSERT_TRUE(Carry(t, *b, TableFixtures::JoinedPlace(*a, *b)));
  ASSERT_TRUE(b->Group() && b->Group() == a->Group());
  EXPECT_TRUE(tips.shown.isEmpty());  // c still lies apart
  ASSERT_TRUE(Carry(t, *c, TableFixtures::JoinedPlace(*b, *c)));
  ASSERT_EQ(c->Group(), a->Group());
  EXPECT_EQ(tips.shown, QList<int>({LastGroupTip}));
  puzzle.reset();
}

TEST_F(LastGroupTest, NoMiniAdviceWhenTheTipIsDoneWithOrNoMiniHoldsPieces) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  PuzzleChip *a, *b, *c;
  Row(t, a, b, c, true);
  tips.ineligible = {LastGroupTip};
  ASSERT_TRUE(Carry(t, *b, TableFixtures::JoinedPlace(*a, *b)));
  ASSERT_TRUE(Carry(t, *c, TableFixtures::JoinedPlace(*b, *c)));
  ASSERT_EQ(c->Group(), a->Group());
  EXPECT_TRUE(tips.shown.isEmpty());
  puzzle.reset();
}

TEST_F(LastGroupTest, NoMiniAdviceWhenTheOnlyGroupIsTheWholePuzzle) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 120, 40, 40));
  ASSERT_EQ(t.surface.GetChipList().Count(), 3);
  PuzzleChip *a, *b, *c;
  Row(t, a, b, c, false);
  ASSERT_TRUE(Carry(t, *b, TableFixtures::JoinedPlace(*a, *b)));
  ASSERT_TRUE(Carry(t, *c, TableFixtures::JoinedPlace(*b, *c)));
  ASSERT_EQ(c->Group(), a->Group());
  EXPECT_TRUE(tips.shown.isEmpty());
  puzzle.reset();
}

// Right is clockwise on the screen, and the point the player holds turns with the carried
// box as plain geometry turns a point of a rectangle.
TEST_F(PlayerActionsTest, RightTurnsClockwiseAndTheHeldPointTurnsWithTheBox) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  PuzzleChip* p = LoosePiece(t);
  ASSERT_TRUE(p);
  ASSERT_TRUE(Carry(t, *p, QPoint(180, 130)));  // well inside: every turn fits where it is
  ASSERT_EQ(p->Mask().Rotation(), 0);
  // Off the middle, so that a mirrored or shifted point shows.
  QPoint grip = *Grip(t.surface, *p);
  for (QPoint off : {QPoint(7, 4), QPoint(-6, 5), QPoint(5, -7), QPoint(3, 2)})
    if (t.surface.GetChipList().HitTest(grip.x() + off.x(), grip.y() + off.y()) == p) {
      grip += off;
      break;
    }
  ASSERT_TRUE(t.surface.MouseDown(TableSurface::LeftButton, grip.x(), grip.y()));
  t.host.cursor = grip;
  const QPoint box = t.surface.Selection()->Position();
  QSize size = t.surface.Selection()->GetSize();
  const struct { bool right; int rotation; } turns[] = {{true, 90}, {true, 180}, {false, 90}, {false, 0}, {false, 270}};
  for (const auto& turn : turns) {
    const QPoint held = t.host.cursor - box;
    const QPoint expected = box + Turned(turn.right ? 90 : 270, held.x(), held.y(), size.width(), size.height());
    if (turn.right)
      t.surface.RotateRight();
    else
      t.surface.RotateLeft();
    ASSERT_EQ(p->Mask().Rotation(), turn.rotation);
    size.transpose();
    EXPECT_EQ(t.surface.Selection()->Position(), box) << turn.rotation;
    EXPECT_EQ(t.surface.Selection()->GetSize(), size) << turn.rotation;
    EXPECT_EQ(t.host.cursor, expected) << turn.rotation;
  }
  const QPoint pointer = t.host.cursor;
  t.surface.DropSelection(true, TableSurface::AtSelection, TableSurface::AtSelection);
  EXPECT_EQ(p->Mask().Rotation(), 270);
  EXPECT_EQ(t.surface.GetChipList().HitTest(pointer.x(), pointer.y()), p);
  puzzle.reset();
}

TEST_F(PlayerActionsTest, AHintMarksForItsTimeAndItsMiniCrossGoesWithIt) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  PuzzleChip* p = LoosePiece(t);
  ASSERT_TRUE(t.surface.ShowChipHint(p));
  EXPECT_EQ(t.surface.HintState(), 1);
  EXPECT_EQ(t.surface.HintPoint(), QPoint(p->TableX() + p->Mask().TableWidth() / 2, p->TableY() + p->Mask().TableHeight() / 2));
  ASSERT_TRUE(t.surface.HintTimer());
  EXPECT_TRUE(t.surface.HintTimer()->isActive());
  EXPECT_TRUE(t.surface.HintTimer()->isSingleShot());
  EXPECT_EQ(t.surface.HintTimer()->interval(), 2500);
  EXPECT_EQ(tips.shown, QList<int>({HintTip}));
  // One hint at a time.
  EXPECT_FALSE(t.surface.ShowChipHint(LoosePiece(t, {p})));
  t.minis[0]->markAt = 40;
  t.surface.ShowMiniHint(*t.minis[0], p);
  EXPECT_EQ(t.surface.HintState(), 1);
  // Its time up, the mark goes; the table's own hint leaves the minis' crosses alone.
  t.surface.HintTimer()->start(0);
  QDeadlineTimer deadline(5000);
  while (t.surface.HintState() != 0 && !deadline.hasExpired()) QCoreApplication::processEvents();
  EXPECT_EQ(t.surface.HintState(), 0);
  EXPECT_EQ(t.surface.HintTimer(), nullptr);
  for (auto& mini : t.minis) EXPECT_EQ(mini->markersHidden, 0);

  // A mini that does not cross the piece leaves the table without a hint.
  t.minis[0]->markAt = -1;
  EXPECT_FALSE(t.surface.ShowMiniHint(*t.minis[0], p));
  EXPECT_EQ(t.surface.HintState(), 0);

  // A neighbour on a mini: the mini-hint tip when the general one is not shown.
  tips.shown.clear();
  tips.refused = {HintTip};
  t.minis[0]->markAt = 37;
  t.surface.ShowMiniHint(*t.minis[0], p);
  EXPECT_EQ(t.surface.HintState(), 2);
  EXPECT_EQ(t.surface.HintPoint(), QPoint(37, 0));
  EXPECT_EQ(tips.shown, QList<int>({HintTip, MiniHintTip}));
  t.surface.HideHint();
  EXPECT_EQ(t.surface.HintState(), 0);
  for (auto& mini : t.minis) EXPECT_EQ(mini->markersHidden, 1);
  tips.shown.clear();
  tips.refused.clear();
  t.surface.ShowMiniHint(*t.minis[0], p);
  EXPECT_EQ(tips.shown, QList<int>({HintTip}));
  // Picking a piece up ends the hint.
  ASSERT_TRUE(Take(t, *p));
  EXPECT_EQ(t.surface.HintState(), 0);
  for (auto& mini : t.minis) EXPECT_EQ(mini->markersHidden, 2);
  t.surface.DropSelection(false, TableSurface::AtSelection, TableSurface::AtSelection);
  puzzle.reset();
}

// Leaving the game stops the clock; a pause that is not the player leaving keeps it going.
TEST_F(PlayerActionsTest, TheClockStopsOnlyWhenThePlayerLeaves) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  puzzle->StartClock();
  ASSERT_TRUE(puzzle->IsClockRunning());
  t.surface.Suspend(false);
  EXPECT_TRUE(puzzle->IsClockRunning());
  t.surface.Suspend(true);
  EXPECT_FALSE(puzzle->IsClockRunning());
  t.surface.Resume(true);
  EXPECT_TRUE(puzzle->IsClockRunning());
  puzzle.reset();
}

}  // namespace
