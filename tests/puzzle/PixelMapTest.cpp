#include "TableFixtures.h"
#include "puzzle/ChipGroup.h"
#include "imaging/VirtualBuffer.h"

#include <gtest/gtest.h>

#include <random>

using namespace TableFixtures;

namespace {

// Picks the piece's unit (its group, or itself) off the table and lays it down on top,
// moved by (dx, dy), the piece itself turned to rotation (-1 keeps it) when loose.
void MoveUnit(ChipList& list, PuzzleChip* piece, int dx, int dy, int rotation = -1) {
  ChipList unit = piece->Group() ? ChipList(list, piece->Group()->Id()) : ChipList(1);
  if (!piece->Group()) unit.Add(piece);
  for (int i = 0; i < unit.Count(); ++i) unit.At(i)->MarkPixels();
  list.RemoveAll(unit);
  for (int i = 0; i < unit.Count(); ++i) {
    PuzzleChip* p = unit.At(i);
    p->Place(p == piece ? rotation : -1, false, true, false, p->TableX() + dx, p->TableY() + dy);
  }
  list.PushList(unit);
}

}  // namespace

// Hundreds of random moves, turns, snaps and restacks; after each the map must show the
// topmost piece at every table pixel.
TEST(PixelMapTest, RandomPlayKeepsTheTopmostPieceShowing) {
  PiecesOnTable t(6, 4, QSize(150, 110));
  std::mt19937 random(7);
  auto pick = [&](int n) { return int(random() % unsigned(n)); };
  ChipList& list = t.List();
  // Laid down one by one, each on top of those before it.
  ChipList all(list);
  list.Clear();
  for (int i = 0; i < all.Count(); ++i) {
    all.At(i)->Place(0, false, false, false, 5 + pick(120), 5 + pick(90));
    list.Push(all.At(i));
  }
  ASSERT_EQ(MapMismatch(t).toStdString(), "");
  int merges = 0;
  for (int step = 0; step < 400; ++step) {
    PuzzleChip* piece = list.At(pick(list.Count()));
    const int kind = pick(6);
    if (kind == 0 && !piece->Group()) {
      MoveUnit(list, piece, 0, 0, 90 * pick(4));
    } else if (kind == 1) {
      list.BringToFront(piece);
    } else if (kind == 2) {
      pick(2) ? list.BottomToTop() : list.TopToBottom();
    } else if (kind == 3) {
      PuzzleChip* b = piece->Neighbour(ChipSide(pick(4)));
      if (!b || (b->Group() && b->Group() == piece->Group()) ||
          b->Mask().Rotation() != piece->Mask().Rotation())
        continue;
      const QPoint to = JoinedPlace(*b, *piece);
      if (to.x() < 2 || to.y() < 2 || to.x() > 130 || to.y() > 90) continue;
      MoveUnit(list, piece, to.x() - piece->TableX(), to.y() - piece->TableY());
      ASSERT_TRUE(piece->Snap(b, nullptr, true)) << step;
      MoveUnit(list, piece, 0, 0);  // the joined group lies together on top
      ++merges;
    } else {
      const int dx = std::clamp(pick(41) - 20, 3 - piece->TableX(), 125 - piece->TableX());
      const int dy = std::clamp(pick(41) - 20, 3 - piece->TableY(), 95 - piece->TableY());
      bool fits = true;
      if (piece->Group()) {
        const QRect box = list.GroupBounds(piece->Group()->Id()).translated(dx, dy);
        fits = box.left() >= 0 && box.top() >= 0 && box.right() < 150 && box.bottom() < 110;
      }
      if (fits) MoveUnit(list, piece, dx, dy);
    }
    ASSERT_EQ(MapMismatch(t).toStdString(), "") << "step " << step << " kind " << kind;
  }
  EXPECT_GT(merges, 5);
}

// Cells of a piece at the left edge, turned, and larger than the table.
TEST(PixelMapTest, CellsFollowTurnsAndStayInRange) {
  PiecesOnTable t(2, 1, QSize(40, 30));
  PuzzleChip* piece = t.At(0, 0);
  piece->Place(0, true, false, false, -5, 3);
  EXPECT_EQ(*t.map.Cell(0, 0), std::uint32_t((30 - 1 - 3) * 40 + 0));  // as if at x = 0

  // Turned by 90 degrees the top mask row runs down the box's rightmost column.
  piece->Place(90, true, false, false, 10, 4);
  const int right = 10 + CellH - 1;
  for (int x = 0; x < CellW; ++x)
    EXPECT_EQ(*t.map.Cell(x, 0), std::uint32_t((30 - 1 - (4 + x)) * 40 + right)) << x;

  // A table smaller than the piece: placed at 0, cells beyond the table point nowhere.
  FakeTable tiny(QSize(5, 5));
  PixelMap map(2 * CellW, CellH, &tiny);
  map.PlaceChip(*t.At(1, 0), QPoint(3, 3), true, 0);
  EXPECT_EQ(*map.Cell(CellW, 0), std::uint32_t(4 * 5 + 0));
  EXPECT_EQ(*map.Cell(CellW + 6, 0), PixelMap::OutsideIndex);
  EXPECT_EQ(*map.Cell(CellW + 2, 6), PixelMap::OutsideIndex);
  PuzzleTable::SetCurrent(&t.table);
}

// The selection's cells point into its image; the piece beneath shows again.
TEST(PixelMapTest, SelectionCellsPointIntoItsImage) {
  PiecesOnTable t(2, 1, QSize(60, 40));
  PuzzleChip* lower = t.At(0, 0);
  PuzzleChip* upper = t.At(1, 0);
  lower->Place(0, false, false, false, 10, 10);
  upper->Place(0, false, false, false, 14, 12);
  t.List().MoveToFront(upper);
  ASSERT_EQ(MapMismatch(t).toStdString(), "");
  upper->SetSelected(true);
  ChipList selection;
  selection.Add(upper);
  VirtualBuffer image(CellW, CellH, QStringLiteral("Blue Screen"));
  t.map.MarkSelection(selection, image, 14, 12);
  EXPECT_EQ(*t.map.Cell(CellW + 0, 0), PixelMap::SelectionBit | std::uint32_t((CellH - 1) * CellW));
  // A pixel of the selection outside its image is pointed nowhere.
  t.map.MarkSelection(selection, image, 15, 12);
  EXPECT_EQ(*t.map.Cell(CellW + 0, 0), PixelMap::SelectionBit | PixelMap::OutsideIndex);
  for (int y = 0; y < CellH; ++y)
    for (int x = 0; x < CellW; ++x)
      if (lower->Mask().ContainsPt(10, 10, 10 + x, 10 + y)) {
        EXPECT_FALSE(*t.map.Cell(x, y) & PixelMap::MarkBit) << x << "," << y;
      }
}
