#include "PuzzleOnTableTest.h"
#include "TestEnvironment.h"
#include "tests/puzzle/PuzzleFixtures.h"
#include "tests/puzzle/TableFixtures.h"

#include "Yelk/Prompt.h"
#include "platform/KeyboardLocks.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/PixelMap.h"
#include "settings/ProgSettings.h"
#include "table/ChipSelection.h"
#include "table/SnapIndicator.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>

namespace {

class RecordedLed : public SnapIndicator {
public:
  RecordedLed() { SetCurrent(this); }
  void SetLit(bool on) override { lit = on; }
  void SetFlash(bool on) override { flash = on; }
  bool lit = true;
  bool flash = true;
};

// Empty when every group lies in one run of the table's list, the pixel map shows exactly the
// topmost piece at every table pixel (the others marked hidden), and every piece lies on the
// table unselected; else the first fault.
std::string TableFaults(TableSurface& surface) {
  ChipList& list = surface.GetChipList();
  std::set<const ChipGroup*> passed;
  for (int i = 0; i < list.Count(); ++i) {
    const ChipGroup* g = list.At(i)->Group();
    if (g && passed.count(g) && list.At(i - 1)->Group() != g) return "group " + std::to_string(g->Id()) + " split";
    passed.insert(g);
    if (list.At(i)->IsSelected()) return "piece left selected";
  }
  const PixelMap& map = *PixelMap::Current();
  const int w = surface.GetWidth(), h = surface.GetHeight();
  for (int i = 0; i < list.Count(); ++i) {
    const PuzzleChip& piece = *list.At(i);
    const ChipMask& mask = piece.Mask();
    std::string fault;
    mask.ForEachRun([&](int py, int first, int last) {
      for (int px = first; px <= last && fault.empty(); ++px) {
        const QPoint at = QPoint(piece.TableX(), piece.TableY()) +
                          Turned(mask.Rotation(), px - mask.MinX(), py - mask.FirstRow(), mask.Width(), mask.Height());
        const std::uint32_t cell = *map.Cell(px, py);
        const bool top = list.HitTest(at.x(), at.y()) == &piece;
        if ((cell & PixelMap::IndexBits) != std::uint32_t((h - 1 - at.y()) * w + at.x()) ||
            bool(cell & PixelMap::MarkBit) == top)
          fault = QStringLiteral("piece %1 pixel %2,%3 at %4,%5: cell %6, topmost %7").arg(piece.Id())
                      .arg(px).arg(py).arg(at.x()).arg(at.y()).arg(cell, 0, 16).arg(top).toStdString();
      }
    });
    if (!fault.empty()) return fault;
  }
  return OffTable(surface);
}

// A table point where the piece shows on top.
std::optional<QPoint> ShowingPoint(TableSurface& surface, const PuzzleChip& piece) {
  const int cx = piece.TableX() + piece.Mask().TableWidth() / 2, cy = piece.TableY() + piece.Mask().TableHeight() / 2;
  std::optional<QPoint> best;
  for (int y = piece.TableY(); y < piece.TableY() + piece.Mask().TableHeight(); ++y)
    for (int x = piece.TableX(); x < piece.TableX() + piece.Mask().TableWidth(); ++x)
      if (surface.GetChipList().HitTest(x, y) == &piece &&
          (!best || std::abs(x - cx) + std::abs(y - cy) < std::abs(best->x() - cx) + std::abs(best->y() - cy)))
        best = QPoint(x, y);
  return best;
}

class TableInputTest : public PuzzleOnTableTest {
protected:
  void SetUp() override {
    Settings()->SignatureShown = false;
    Settings()->IsolateEdges = false;
    Settings()->UpsideRight = true;
    Settings()->SnapDistance = 5;
    Settings()->EnableSnapIndicator = true;
  }
  // The pointer at which a drop lays piece, carried, at table position target.
  static QPoint PointerFor(const ChipSelection& s, const PuzzleChip& piece, QPoint target) {
    return target - QPoint(piece.TableX(), piece.TableY()) - QPoint(1, 1) + s.Grab() + s.PickUpPosition() + s.Margin();
  }
  // Presses the left button on piece, drags it in steps so that it lands at target, and lets go.
  static void DragPieceTo(HeadlessTable& t, PuzzleChip& piece, QPoint target) {
    const std::optional<QPoint> grab = ShowingPoint(t.surface, piece);
    ASSERT_TRUE(grab);
    t.host.leftDown = true;
    ASSERT_TRUE(t.surface.MouseDown(TableSurface::LeftButton, grab->x(), grab->y()));
    const QPoint to = PointerFor(*t.surface.Selection(), piece, target);
    t.surface.MouseMove(nullptr, true, grab->x() + 20, grab->y() + 20);
    for (int k = 1; k <= 3; ++k) {
      const QPoint at = *grab + (to - *grab) * k / 3;
      t.surface.MouseMove(nullptr, true, at.x(), at.y());
    }
    t.host.leftDown = false;
    EXPECT_FALSE(t.surface.MouseUp(TableSurface::LeftButton, to.x(), to.y()));
  }

  // Joins the first three pieces of the top row, dragged as a player would; the first of
  // them, or null when the join failed.
  static PuzzleChip* JoinTopRowOfThree(HeadlessTable& t) {
    ChipList& list = t.surface.GetChipList();
    PuzzleChip* a = nullptr;
    for (int i = 0; i < list.Count() && !a; ++i)
      if (list.At(i)->EdgeClass() == 1) a = list.At(i);
    PuzzleChip* b = a->Neighbour(ChipSide::Right);
    PuzzleChip* c = b->Neighbour(ChipSide::Right);
    DragPieceTo(t, *b, TableFixtures::JoinedPlace(*a, *b));
    DragPieceTo(t, *c, TableFixtures::JoinedPlace(*b, *c));
    return a->Group() && a->Group() == c->Group() ? a : nullptr;
  }

  RecordedTips tips;
  RecordedLed led;
};

// Random play, scripted: pieces picked up, turned, dropped at the table's edges and beyond,
// or beside a neighbour within the snap distance. After every drop the groups are whole in
// the list, the map and the drawn table are true, and the last join completes the puzzle.
TEST_F(TableInputTest, ScriptedPlayKeepsTheTableTrueAfterEveryDropUntilTheLastJoin) {
  Settings()->UpsideRight = false;
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  const int pieces = puzzle->GetPieceCount();
  ASSERT_EQ(t.surface.GetChipList().Count(), pieces);
  int joins = 0;
  puzzle->OnJoin = [&](Puzzle&) { ++joins; };
  std::mt19937 random(11);
  const int w = t.surface.GetWidth(), h = t.surface.GetHeight();
  for (int round = 0; round < 600 && joins < pieces - 1; ++round) {
    ChipList& list = t.surface.GetChipList();
    PuzzleChip* piece = list.At(int(random() % unsigned(list.Count())));
    const int joinsBefore = joins;
    if (!ShowingPoint(t.surface, *piece)) continue;
    if (random() % 4 == 0) {
      const int xs[] = {-9, 0, 1, w / 2, w - 1, w + 9}, ys[] = {-9, 0, 1, h / 2, h - 1, h + 9};
      DragPieceTo(t, *piece, QPoint(xs[random() % 6], ys[random() % 6]));
    } else {
      PuzzleChip* next = piece->Neighbour(ChipSide(random() % 4));
      if (!next || (piece->Group() && next->Group() == piece->Group())) continue;
      const std::optional<QPoint> grab = ShowingPoint(t.surface, *piece);
      if (!grab) continue;
      t.host.leftDown = true;
      ASSERT_TRUE(t.surface.MouseDown(TableSurface::LeftButton, grab->x(), grab->y()));
      for (int turns = 0; turns < 4 && piece->Mask().Rotation() != next->Mask().Rotation(); ++turns)
        t.surface.RotateRight();
      const int d = Settings()->SnapDistance;
      const QPoint error(int(random() % unsigned(2 * d + 1)) - d, int(random() % unsigned(2 * d + 1)) - d);
      const QPoint to = PointerFor(*t.surface.Selection(), *piece, TableFixtures::JoinedPlace(*next, *piece) + error);
      t.surface.MouseMove(nullptr, true, to.x(), to.y());
      t.host.leftDown = false;
      t.surface.MouseUp(TableSurface::LeftButton, to.x(), to.y());
    }
    ASSERT_EQ(t.surface.Selection(), nullptr);
    ASSERT_EQ(TableFaults(t.surface), "") << "round " << round;
    // A join may leave a corner of the shadow a fully joined piece no longer casts until the
    // next full repaint.
    if (joins == joinsBefore) {
      ASSERT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "") << "round " << round;
    }
    ASSERT_EQ(t.PiecesAnywhere(), pieces);
  }
  EXPECT_EQ(joins, pieces - 1);
  EXPECT_EQ(puzzle->GetPercentComplete(), 100);
  EXPECT_EQ(ChipGroup::Count(), 1);
  ChipList& list = t.surface.GetChipList();
  for (int i = 0; i < list.Count(); ++i) {
    EXPECT_EQ(list.At(i)->Group(), ChipGroup::First());
    for (ChipSide side : {ChipSide::Left, ChipSide::Right, ChipSide::Up, ChipSide::Down}) {
      const PuzzleChip* n = list.At(i)->Neighbour(side);
      if (n) {
        EXPECT_EQ(QPoint(n->TableX(), n->TableY()), TableFixtures::JoinedPlace(*list.At(i), *n));
      }
    }
  }
  puzzle.reset();
}

// A neighbour pair, both loose, a to the left of b.
std::pair<PuzzleChip*, PuzzleChip*> LoosePair(ChipList& list, int skip) {
  for (int i = 0; i < list.Count(); ++i) {
    PuzzleChip* a = list.At(i);
    PuzzleChip* b = a->Neighbour(ChipSide::Right);
    if (!a->Group() && b && !b->Group() && list.Contains(b) && skip-- == 0) return {a, b};
  }
  return {nullptr, nullptr};
}

TEST_F(TableInputTest, ADropSnapsWithinTheSnapDistanceOnlyAndOnlyAtTheSameTurn) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  struct Case { QPoint error; bool turnBoth; bool turnOne; bool joins; };
  int skip = 0, spot = 0;
  for (const Case c : {Case{{5, -5}, false, false, true}, Case{{6, 0}, false, false, false},
                       Case{{0, -6}, false, false, false}, Case{{-5, 5}, true, false, true},
                       Case{{0, 0}, false, true, false}}) {
    SCOPED_TRACE(QStringLiteral("error %1,%2").arg(c.error.x()).arg(c.error.y()).toStdString());
    auto [a, b] = LoosePair(t.surface.GetChipList(), c.joins ? 0 : skip++);
    ASSERT_TRUE(a && b);
    DragPieceTo(t, *b, QPoint(30 + 75 * spot++, 240));
    t.surface.Refresh();
    if (c.turnBoth) {
      const std::optional<QPoint> at = ShowingPoint(t.surface, *b);
      ASSERT_TRUE(at);
      t.surface.MouseDown(TableSurface::LeftButton, at->x(), at->y());
      t.surface.RotateRight();
      t.surface.DropSelection(false, TableSurface::AtSelection, TableSurface::AtSelection);
    }
    const std::optional<QPoint> grab = ShowingPoint(t.surface, *a);
    ASSERT_TRUE(grab);
    t.host.leftDown = true;
    ASSERT_TRUE(t.surface.MouseDown(TableSurface::LeftButton, grab->x(), grab->y()));
    if (c.turnBoth || c.turnOne) t.surface.RotateRight();
    const QPoint to = PointerFor(*t.surface.Selection(), *a, TableFixtures::JoinedPlace(*b, *a) + c.error);
    t.surface.MouseMove(nullptr, true, to.x(), to.y());
    EXPECT_EQ(t.surface.FlashTimerState().interval(), TableSurface::FlashMillis);
    t.surface.FlashTimer();
    EXPECT_EQ(led.flash, c.joins);
    t.host.leftDown = false;
    EXPECT_FALSE(t.surface.MouseUp(TableSurface::LeftButton, to.x(), to.y()));
    EXPECT_EQ(a->Group() && a->Group() == b->Group(), c.joins);
    EXPECT_EQ(led.lit, c.joins);
    EXPECT_FALSE(led.flash);
    if (c.joins) {
      EXPECT_EQ(QPoint(a->TableX(), a->TableY()), TableFixtures::JoinedPlace(*b, *a));
      EXPECT_EQ(t.surface.FlashTimerState().interval(), TableSurface::SnapFlashMillis);
      EXPECT_TRUE(t.surface.FlashTimerState().isActive());
      t.surface.FlashTimer();
      EXPECT_FALSE(led.lit);
      EXPECT_FALSE(t.surface.FlashTimerState().isActive());
    }
    EXPECT_EQ(TableFaults(t.surface), "");
    EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
  }
  puzzle.reset();
}

TEST_F(TableInputTest, AClickLeavesThePieceHangingADragLaysItDownAndTheWheelTurnsAGroupWhole) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  ChipList& list = t.surface.GetChipList();
  PuzzleChip* p = list.At(0);
  const QPoint start(p->TableX(), p->TableY());
  QPoint g = *ShowingPoint(t.surface, *p);
  // Five pixels with the button down are still a click; the piece then follows the pointer
  // until the next left press lays it down.
  t.host.leftDown = true;
  ASSERT_TRUE(t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y()));
  t.surface.MouseMove(nullptr, true, g.x() + 5, g.y() - 5);
  EXPECT_FALSE(t.surface.IsDragging());
  t.host.leftDown = false;
  EXPECT_TRUE(t.surface.MouseUp(TableSurface::LeftButton, g.x() + 5, g.y() - 5));
  t.surface.MouseMove(nullptr, true, g.x() + 40, g.y() + 30);
  EXPECT_FALSE(t.surface.MouseDown(TableSurface::LeftButton, g.x() + 40, g.y() + 30));
  EXPECT_EQ(t.surface.Selection(), nullptr);
  EXPECT_EQ(QPoint(p->TableX(), p->TableY()), start + QPoint(40, 30));
  // Six pixels start a drag, which the release ends.
  g = *ShowingPoint(t.surface, *p);
  t.host.leftDown = true;
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y());
  t.surface.MouseMove(nullptr, true, g.x(), g.y() + 6);
  EXPECT_TRUE(t.surface.IsDragging());
  t.host.leftDown = false;
  EXPECT_FALSE(t.surface.MouseUp(TableSurface::LeftButton, g.x(), g.y() + 6));
  EXPECT_EQ(QPoint(p->TableX(), p->TableY()), start + QPoint(40, 36));
  // A release heard after the player left the game lays the piece down where it is.
  t.host.active = false;
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y() + 6);
  EXPECT_FALSE(t.surface.MouseUp(TableSurface::LeftButton, g.x(), g.y() + 6));
  EXPECT_EQ(QPoint(p->TableX(), p->TableY()), start + QPoint(40, 36));
  t.host.active = true;
  // Caps Lock turns a left press into a capture, Shift back.
  KeyboardLocks::SetCapsLockSource([] { return true; });
  EXPECT_EQ(TableSurface::PressedButton(TableSurface::LeftButton, false), TableSurface::MiddleButton);
  EXPECT_EQ(TableSurface::PressedButton(TableSurface::LeftButton, true), TableSurface::LeftButton);
  KeyboardLocks::SetCapsLockSource({});

  // A row of three joined pieces turns as a whole, also in the table's far corner.
  PuzzleChip* a = nullptr;
  for (int i = 0; i < list.Count() && !a; ++i)
    if (list.At(i)->EdgeClass() == 1) a = list.At(i);
  ASSERT_TRUE(a);
  PuzzleChip* b = a->Neighbour(ChipSide::Right);
  PuzzleChip* c = b->Neighbour(ChipSide::Right);
  DragPieceTo(t, *b, TableFixtures::JoinedPlace(*a, *b));
  DragPieceTo(t, *c, TableFixtures::JoinedPlace(*b, *c));
  ASSERT_TRUE(a->Group() && a->Group() == b->Group() && b->Group() == c->Group());
  auto whole = [&] {
    return QPoint(b->TableX(), b->TableY()) == TableFixtures::JoinedPlace(*a, *b) &&
           QPoint(c->TableX(), c->TableY()) == TableFixtures::JoinedPlace(*b, *c) &&
           a->Mask().Rotation() == c->Mask().Rotation();
  };
  g = *ShowingPoint(t.surface, *b);
  t.host.leftDown = true;
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y());
  t.surface.MouseMove(nullptr, true, t.surface.GetWidth() + 50, t.surface.GetHeight() + 50);
  for (int turn = 0; turn < 6; ++turn) {
    if (turn % 3 == 2)
      t.surface.RotateLeft();
    else
      t.surface.RotateRight();
    const ChipSelection& s = *t.surface.Selection();
    EXPECT_TRUE(whole()) << turn;
    EXPECT_LE(s.Position().x() + s.GetSize().width(), t.surface.GetWidth() - 2) << turn;
    EXPECT_LE(s.Position().y() + s.GetSize().height(), t.surface.GetHeight() - 2) << turn;
    EXPECT_EQ(t.host.cursor, s.Position() + s.Grab());
  }
  EXPECT_EQ(b->Mask().Rotation(), 180);
  // Drag steps after the turns present only what they changed again.
  t.surface.MouseMove(nullptr, true, t.host.cursor.x() - 30, t.host.cursor.y() - 20);
  EXPECT_TRUE(t.host.lastPart.isValid());
  t.host.cursor -= QPoint(30, 20);
  t.host.leftDown = false;
  t.surface.MouseUp(TableSurface::LeftButton, t.host.cursor.x(), t.host.cursor.y());
  EXPECT_TRUE(whole());
  EXPECT_EQ(TableFaults(t.surface), "");
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");

  // A row one pixel narrower than the table is high can only turn halfway; the turn ends.
  g = *ShowingPoint(t.surface, *b);
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y());
  const int rowWidth = t.surface.Selection()->GetSize().width();
  t.surface.DropSelection(false, TableSurface::AtSelection, TableSurface::AtSelection);
  t.surface.Resize(t.surface.GetWidth(), rowWidth + 1);
  ASSERT_TRUE(list.Contains(b));
  g = *ShowingPoint(t.surface, *b);
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y());
  ASSERT_EQ(t.surface.Selection()->GetSize().width(), t.surface.GetHeight() - 1);
  t.surface.RotateRight();
  EXPECT_EQ(b->Mask().Rotation(), 0);
  t.surface.DropSelection(true, TableSurface::AtSelection, TableSurface::AtSelection);
  EXPECT_TRUE(whole());
  EXPECT_EQ(TableFaults(t.surface), "");

  // Dropped onto an inactive mini, the row leaves the table for it.
  g = *ShowingPoint(t.surface, *b);
  t.surface.MouseDown(TableSurface::LeftButton, g.x(), g.y());
  t.host.miniUnder = t.minis[2].get();
  t.surface.DropSelection(true, g.x(), g.y());
  t.host.miniUnder = nullptr;
  EXPECT_EQ(t.minis[2]->Chips().Count(), 3);
  EXPECT_TRUE(t.minis[2]->Chips().Contains(a) && !list.Contains(a));
  EXPECT_TRUE(tips.used.contains(1) && tips.used.contains(20) && tips.used.contains(0));
  EXPECT_EQ(TableFaults(t.surface), "");
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
  puzzle.reset();
}

// The wheel button sweeps pieces off the table, one under the pointer at each step, and lays
// them down again along a trail; a release that finds no room warns once and ends the trail.
TEST_F(TableInputTest, TheWheelButtonSweepsExactlyThePiecesPassedAndLaysThemDownAgain) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  ChipList& list = t.surface.GetChipList();
  const int pieces = list.Count();
  // Where the sweep goes: along a row through the first piece.
  const QPoint from = *ShowingPoint(t.surface, *list.At(0));
  std::vector<QPoint> path;
  for (int x = from.x(); x < t.surface.GetWidth(); x += 3) path.push_back(QPoint(x, from.y()));
  ChipList left(list);
  std::set<PuzzleChip*> expected;
  for (QPoint at : path)
    if (PuzzleChip* hit = left.HitTest(at.x(), at.y())) {
      expected.insert(hit);
      left.Remove(hit);
    }
  ASSERT_GE(expected.size(), 2u);
  EXPECT_FALSE(t.surface.MouseDown(TableSurface::MiddleButton, from.x(), from.y()));
  for (QPoint at : path) t.surface.MouseMove(nullptr, true, at.x(), at.y());
  t.surface.MouseUp(TableSurface::MiddleButton, path.back().x(), path.back().y());
  ChipList& captured = PuzzleChip::CapturedList();
  EXPECT_EQ(std::set<PuzzleChip*>(&captured[0], &captured[0] + captured.Count()), expected);
  EXPECT_EQ(list.Count(), pieces - captured.Count());
  EXPECT_EQ(TableFaults(t.surface), "");
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");

  // Released over the active mini (never a capture there), then along the pointer's trail:
  // the next one only once the pointer has left the last one's box by more than 10 pixels.
  t.host.miniUnder = t.minis[0].get();
  const int first = captured.Count();
  t.surface.MouseDown(TableSurface::MiddleButton, 60, 60);
  EXPECT_EQ(captured.Count(), first - 1);
  const QRect box(list.At(0)->TableX(), list.At(0)->TableY(), list.At(0)->Mask().TableWidth(), list.At(0)->Mask().TableHeight());
  const QSize next(captured.At(captured.Count() - 1)->Mask().TableWidth(), captured.At(captured.Count() - 1)->Mask().TableHeight());
  const int reach = box.right() + 10 + next.width() / 2;
  t.surface.MouseMove(nullptr, true, reach, 60);
  EXPECT_EQ(captured.Count(), first - 1);
  bool cursorChanged = false;
  t.surface.MouseMove(&cursorChanged, true, reach + 1, 60);
  EXPECT_EQ(captured.Count(), first - 2);
  for (int y = 60; !captured.IsEmpty() && y < 320; y += 30) t.surface.MouseMove(&cursorChanged, true, 360, y);
  t.surface.MouseUp(TableSurface::MiddleButton, 360, 300);
  EXPECT_TRUE(captured.IsEmpty());
  EXPECT_TRUE(cursorChanged);
  EXPECT_EQ(list.Count(), pieces);
  EXPECT_EQ(TableFaults(t.surface), "");
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
  EXPECT_TRUE(prompts.Shown().isEmpty());

  // A joined row wider than the table becomes is captured with a loose piece after it; the
  // piece comes out, the row finds no room: one warning, and the trail ends there.
  PuzzleChip* a = JoinTopRowOfThree(t);
  ASSERT_TRUE(a);
  t.host.miniUnder = nullptr;
  for (PuzzleChip* piece : {a, a->Neighbour(ChipSide::Down)}) {
    const QPoint at = *ShowingPoint(t.surface, *piece);
    t.surface.MouseDown(TableSurface::MiddleButton, at.x(), at.y());
    t.surface.MouseUp(TableSurface::MiddleButton, at.x(), at.y());
  }
  ASSERT_EQ(captured.CountUnits(), 2);
  const int rowWidth = a->Group()->Right() - a->Group()->Left() + 1;
  t.surface.Resize(rowWidth - 10, 320);
  t.host.miniUnder = t.minis[0].get();
  t.surface.MouseDown(TableSurface::MiddleButton, 30, 30);
  EXPECT_EQ(captured.CountUnits(), 1);
  for (int y = 100; y < 300; y += 50) t.surface.MouseMove(nullptr, true, 30, y);
  EXPECT_EQ(prompts.Shown().size(), 1);
  t.surface.MouseUp(TableSurface::MiddleButton, 30, 300);
  t.host.miniUnder = nullptr;
  t.surface.Resize(420, 320);
  t.surface.ReleaseAt(200, 150);
  EXPECT_TRUE(captured.IsEmpty());
  EXPECT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(list.Count(), pieces);
  EXPECT_EQ(TableFaults(t.surface), "");
  puzzle.reset();
}

// While the window switches state the table keeps its size and takes only the final one,
// the minis following it; a resize that captures shows its message once, only after the
// event that resized the table is over (a box inside a resize ran the event loop mid-way).
TEST_F(TableInputTest, HeldResizesTakeOnlyTheFinalSizeAndTheCapturedMessageWaitsForTheEventLoop) {
  Prompt::Double prompts;
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  ChipList& list = t.surface.GetChipList();
  ChipList& captured = PuzzleChip::CapturedList();
  const int pieces = list.Count();
  PuzzleChip* a = JoinTopRowOfThree(t);
  ASSERT_TRUE(a);
  const int rowWidth = a->Group()->Right() - a->Group()->Left() + 1;

  t.surface.HoldResizes();
  t.surface.HoldResizes();
  t.surface.Resize(rowWidth - 10, 320);
  t.surface.Resize(440, 330);
  t.surface.ReleaseResizes();
  EXPECT_EQ(QSize(t.surface.GetWidth(), t.surface.GetHeight()), QSize(420, 320));
  t.surface.ReleaseResizes();
  EXPECT_EQ(QSize(t.surface.GetWidth(), t.surface.GetHeight()), QSize(440, 330));
  EXPECT_TRUE(captured.IsEmpty());
  for (auto& mini : t.minis) EXPECT_EQ(mini->followed, QSize(440, 330));
  QCoreApplication::processEvents();
  EXPECT_TRUE(prompts.Shown().isEmpty());

  t.surface.Resize(rowWidth - 10, 320);
  ASSERT_EQ(captured.CountUnits(), 1);
  EXPECT_TRUE(prompts.Shown().isEmpty());
  // Back on a wide table and captured again before the box had its turn: still one box.
  t.surface.Resize(440, 330);
  t.surface.ReleaseAt(200, 150);
  ASSERT_TRUE(captured.IsEmpty());
  t.surface.Resize(rowWidth - 12, 320);
  ASSERT_EQ(captured.CountUnits(), 1);
  QCoreApplication::processEvents();
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_TRUE(prompts.Shown().first().text.startsWith(QStringLiteral("One or more puzzle sections have been placed")));
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(list.Count() + captured.Count(), pieces);
  puzzle.reset();
}

}  // namespace
