// Scatter: which pieces move (loose ones whose middle lies at least a piece size from every
// border), where they go (a quarter of the way towards the border their ray from the
// table's middle meets), and what the player is told when nothing can move.

#include "PuzzleOnTableTest.h"
#include "TableHands.h"
#include "tests/puzzle/TableFixtures.h"

#include "settings/ProgSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

const QString NothingLoose = QStringLiteral("There are no loose puzzle pieces to be scattered.");
const QString AsFarAsPossible = QStringLiteral("The loose puzzle pieces have already been scattered as far as possible.");

QPoint Middle(const PuzzleChip& p) {
  return {p.TableX() + p.Mask().TableWidth() / 2, p.TableY() + p.Mask().TableHeight() / 2};
}

class ScatterRulesTest : public PuzzleOnTableTest {
protected:
  void SetUp() override { TableHands::PlaySettings(); }
  // Whether a middle lies a whole margin inside every border of a w x h table.
  static bool Inside(QPoint c, int w, int h, int margin) {
    return c.x() >= margin && c.x() <= w - 1 - margin && c.y() >= margin && c.y() <= h - 1 - margin;
  }
  // Where a middle should go: a quarter of the way to the point where the ray from the
  // table's middle through it leaves the table, worked out as plain line geometry.
  static QPointF Pushed(QPoint c, int w, int h) {
    const QPointF m((w - 1) / 2, (h - 1) / 2);
    const QPointF d = QPointF(c) - m;
    double s = 1e9;
    if (d.x() > 0) s = std::min(s, (w - 1 - m.x()) / d.x());
    if (d.x() < 0) s = std::min(s, -m.x() / d.x());
    if (d.y() > 0) s = std::min(s, (h - 1 - m.y()) / d.y());
    if (d.y() < 0) s = std::min(s, -m.y() / d.y());
    const QPointF border = m + s * d;
    return QPointF(c) + (border - QPointF(c)) / 4;
  }
  // Lays a loose piece with its middle at c.
  static void PutAt(PuzzleChip& p, QPoint c) {
    p.Place(-1, false, true, false, c.x() - p.Mask().TableWidth() / 2, c.y() - p.Mask().TableHeight() / 2);
    ASSERT_EQ(Middle(p), c);
  }
};

TEST_F(ScatterRulesTest, LoosePiecesAwayFromTheBordersGoAQuarterOfTheWayOutTheRestStay) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  const int w = t.surface.GetWidth(), h = t.surface.GetHeight(), margin = puzzle->GetPieceSize();
  ChipList& list = t.surface.GetChipList();
  // A joined pair in the middle of the table stays where it is.
  PuzzleChip* a = nullptr;
  for (int i = 0; i < list.Count() && !a; ++i)
    if (list.At(i)->Neighbour(ChipSide::Right)) a = list.At(i);
  PuzzleChip* b = a->Neighbour(ChipSide::Right);
  ASSERT_TRUE(TableHands::Carry(t, *a, QPoint(w / 2 - 30, h / 2 - 20)));
  ASSERT_TRUE(TableHands::Carry(t, *b, TableFixtures::JoinedPlace(*a, *b)));
  ASSERT_TRUE(a->Group() && a->Group() == b->Group());
  puzzle->ClearChanged();

  // Loose pieces towards each border and each corner of the 420 x 320 table.
  const QPoint spots[] = {{90, 160}, {330, 150}, {200, 70}, {215, 250}, {100, 80}, {320, 250}, {120, 240}, {300, 90}};
  int next = 0;
  for (int i = 0; i < list.Count() && next < 8; ++i)
    if (!list.At(i)->Group()) PutAt(*list.At(i), spots[next++]);
  ASSERT_EQ(next, 8);
  std::map<const PuzzleChip*, QPoint> before;
  for (int i = 0; i < list.Count(); ++i) before[list.At(i)] = Middle(*list.At(i));
  t.surface.Scatter();
  EXPECT_TRUE(prompts.Shown().isEmpty());
  EXPECT_TRUE(puzzle->IsChanged());
  // Each border's rule is seen.
  std::set<int> sides;
  for (auto [p, c] : before) {
    SCOPED_TRACE(QStringLiteral("piece %1 from %2,%3").arg(p->Id()).arg(c.x()).arg(c.y()).toStdString());
    if (p->Group() || !Inside(c, w, h, margin)) {
      EXPECT_EQ(Middle(*p), c);
      continue;
    }
    const QPointF expected = Pushed(c, w, h);
    EXPECT_NEAR(Middle(*p).x(), expected.x(), 4);
    EXPECT_NEAR(Middle(*p).y(), expected.y(), 4);
    const QPointF towards = expected - QPointF(c);
    sides.insert(std::abs(towards.x() / (w - 1)) > std::abs(towards.y() / (h - 1)) ? (towards.x() > 0) : 2 + (towards.y() > 0));
  }
  EXPECT_EQ(sides.size(), 4u);
  puzzle.reset();
}

// A middle exactly a piece size from a border still moves; a pixel nearer, it stays.
TEST_F(ScatterRulesTest, TheMarginIsInclusiveAtEachBorder) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  const int w = t.surface.GetWidth(), h = t.surface.GetHeight(), margin = puzzle->GetPieceSize();
  ChipList& list = t.surface.GetChipList();
  // Off the middle lines, so that every ray has a slope.
  const int cx = w / 2 + 17, cy = h / 2 - 13;
  const struct { QPoint at; bool moves; } cases[] = {
      {{margin, cy}, true},          {{margin - 1, cy}, false},
      {{w - 1 - margin, cy}, true},  {{w - margin, cy}, false},
      {{cx, margin}, true},          {{cx, margin - 1}, false},
      {{cx, h - 1 - margin}, true},  {{cx, h - margin}, false},
  };
  // Every other piece goes to a border, where it stays.
  ASSERT_GE(list.Count(), 8);
  for (int i = 0; i < list.Count(); ++i) PutAt(*list.At(i), {w / 2, 20});
  std::map<PuzzleChip*, QPoint> placed;
  for (int i = 0; i < 8; ++i) {
    PutAt(*list.At(i), cases[i].at);
    placed[list.At(i)] = cases[i].at;
  }
  t.surface.Scatter();
  EXPECT_TRUE(prompts.Shown().isEmpty());
  for (auto [p, c] : placed) {
    const auto it = std::find_if(std::begin(cases), std::end(cases), [c](const auto& k) { return k.at == c; });
    EXPECT_EQ(Middle(*p) != c, it->moves) << c.x() << "," << c.y();
  }
  puzzle.reset();
}

TEST_F(ScatterRulesTest, RepeatedScattersEndWithEveryLoosePieceAtABorderAndSaySo) {
  HeadlessTable t(420, 320);
  ASSERT_TRUE(Load(t, 200, 150, 40));
  const int w = t.surface.GetWidth(), h = t.surface.GetHeight(), margin = puzzle->GetPieceSize();
  ChipList& list = t.surface.GetChipList();
  int scatters = 0;
  while (prompts.Shown().isEmpty() && scatters < 40) {
    t.surface.Scatter();
    ++scatters;
  }
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(prompts.Shown().first().text, AsFarAsPossible);
  EXPECT_GT(scatters, 1);
  for (int i = 0; i < list.Count(); ++i) EXPECT_FALSE(Inside(Middle(*list.At(i)), w, h, margin));

  // With no loose piece on the table there is nothing to scatter.
  prompts.Clear();
  t.host.miniUnder = t.minis[1].get();
  while (!list.IsEmpty()) ASSERT_TRUE(TableHands::Carry(t, *list.At(list.Count() - 1), QPoint(0, 0)));
  t.host.miniUnder = nullptr;
  puzzle->ClearChanged();
  t.surface.Scatter();
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(prompts.Shown().first().text, NothingLoose);
  EXPECT_FALSE(puzzle->IsChanged());
  puzzle.reset();
}

}  // namespace
