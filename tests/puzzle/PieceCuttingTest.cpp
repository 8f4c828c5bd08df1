#include "TableFixtures.h"
#include "PuzzleFixtures.h"
#include "Yelk/IntArray.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PuzzleChip.h"

#include <gtest/gtest.h>

namespace {

struct Picture {
  int width, height;
};

// Every picture pixel lies in exactly one piece's mask; a cut-line pixel in the mask of the
// piece whose grid cell holds it.
void ExpectExactCover(ChipList& pieces, const CuttingDie& die) {
  ASSERT_TRUE(PuzzleFixtures::PiecesPartition(pieces, die.Width(), die.Height()));
  const std::vector<int> xs = PuzzleFixtures::GridLines(*die.ColumnWidths()),
                         ys = PuzzleFixtures::GridLines(*die.RowHeights());
  int lineElsewhere = 0;
  for (int i = 0; i < pieces.Count(); ++i) {
    const int column = i % die.Columns(), row = i / die.Columns();
    pieces[i]->Mask().ForEachRun([&](int y, int first, int last) {
      for (int x = first; x <= last; ++x)
        lineElsewhere += die.Buffer()->Row(y)[x] != DieColour::Area &&
                         (x < xs[column] || x >= xs[column + 1] || y < ys[row] || y >= ys[row + 1]);
    });
  }
  EXPECT_EQ(lineElsewhere, 0) << "cut-line pixels given to a piece of another cell";
}

// Piece i lies in grid cell (i mod columns, i / columns): its neighbours are the pieces of
// the cells beside it and point back to it; the border sides are joined, no other; the
// class tells which borders it touches (the left and top ones when it touches both).
void ExpectGrid(ChipList& pieces, int columns, int rows) {
  ASSERT_EQ(pieces.Count(), columns * rows);
  auto at = [&](int c, int r) -> PuzzleChip* {
    return c < 0 || r < 0 || c >= columns || r >= rows ? nullptr : pieces[r * columns + c];
  };
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const PuzzleChip* piece = at(c, r);
      SCOPED_TRACE("piece " + std::to_string(c) + "," + std::to_string(r));
      EXPECT_EQ(piece->Id(), r * columns + c);
      const std::pair<ChipSide, PuzzleChip*> sides[] = {{ChipSide::Left, at(c - 1, r)},
                                                        {ChipSide::Right, at(c + 1, r)},
                                                        {ChipSide::Up, at(c, r - 1)},
                                                        {ChipSide::Down, at(c, r + 1)}};
      const ChipSide opposite[] = {ChipSide::Right, ChipSide::Left, ChipSide::Down, ChipSide::Up};
      for (const auto& [side, expected] : sides) {
        EXPECT_EQ(piece->Neighbour(side), expected);
        if (expected) {
          EXPECT_EQ(expected->Neighbour(opposite[int(side)]), piece);
        }
        EXPECT_EQ(piece->IsJoined(side), expected == nullptr);
      }
      EXPECT_EQ(piece->EdgeClass(), TableFixtures::ClassAt(c, r, columns, rows));
    }
}

}  // namespace

// The pictures are those whose dies are sound at every size of the sweep. With these edge
// shapes a die whose cells are stretched well past the piece size (a remainder spread over
// few cells, long narrow pictures, one or two cells across) can have knobs that touch and
// break a line; such dies are refused (BrokenDiesAreRefused).
TEST(PieceCuttingTest, PiecesCoverThePictureExactlyOnceInTheirGrid) {
  const Picture pictures[] = {{13, 13}, {27, 29}, {41, 40}, {97, 131}, {259, 257}, {383, 301}};
  for (const Picture& picture : pictures)
    for (int size : {13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 40, 80, 127, 128}) {
      if (size > std::min(picture.width, picture.height)) continue;
      SCOPED_TRACE(testing::Message() << picture.width << "x" << picture.height << " at " << size);
      FakeTable table(QSize(1000, 800));
      FakePicture source(picture.width, picture.height);
      CuttingDie die(&source, size, nullptr);
      const int columns = picture.width / size, rows = picture.height / size;
      ASSERT_EQ(CuttingDie::CutChips(&die, nullptr, false, nullptr), columns * rows);
      ExpectExactCover(table.pieces, die);
      ExpectGrid(table.pieces, columns, rows);
    }
}

TEST(PieceCuttingTest, StatsAreLoggedWithThousandsSeparators) {
  FakeTable table(QSize(1000, 800));
  FakePicture source(1200, 1100);
  CuttingDie die(&source, 100, nullptr);
  ASSERT_EQ(CuttingDie::CutChips(&die, nullptr, false, nullptr), 132);
  EXPECT_TRUE(TMsgLog::Lines().last().endsWith(
      "Puzzle Stats: w=1,200, h=1,100, chips=132, horzPieces=12, vertPieces=11"));
}

// A die whose knobs touch (a broken line) or whose areas are left to no piece gives no
// pieces and one warning; so does one with a line pixel or a pocket painted in.
TEST(PieceCuttingTest, BrokenDiesAreRefused) {
  auto expectRefused = [](CuttingDie& die, FakeTable& table, const QString& warning) {
    const QString stats = QStringLiteral("Puzzle Stats: w=%1").arg(die.Width());
    EXPECT_EQ(CuttingDie::CutChips(&die, nullptr, true, nullptr), 0);
    EXPECT_EQ(table.pieces.Count(), 0);
    const QStringList log = TMsgLog::Lines();
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[log.size() - 2].contains(stats)) << log[log.size() - 2].toStdString();
    EXPECT_TRUE(log.last().contains(warning)) << log.last().toStdString();
  };
  {
    SCOPED_TRACE("knobs touching");
    FakeTable table(QSize(1000, 800));
    FakePicture source(400, 77);
    CuttingDie die(&source, 13, nullptr);
    expectRefused(die, table, "Warning: Line breaks detected in cutting die.  tot=30,800, msk=");
  }
  {
    SCOPED_TRACE("knobs reaching past half a cell");
    FakeTable table(QSize(1000, 800));
    FakePicture source(200, 60);
    CuttingDie die(&source, 31, nullptr);
    expectRefused(die, table,
                  "Warning: Orphaned sections detected in cutting die.  tot=12,000, msk=");
  }
  FakePicture source(120, 120);
  {
    SCOPED_TRACE("a line pixel painted over");
    FakeTable table(QSize(1000, 800));
    CuttingDie die(&source, 40, nullptr);
    VirtualBuffer& buffer = *die.Buffer();
    // A pixel of the first vertical line with area on both sides joins two pieces' areas.
    int y = 41;
    while (y < 119 && !(buffer.Row(y)[39] == DieColour::Area &&
                        buffer.Row(y)[40] == DieColour::Line && buffer.Row(y)[41] == DieColour::Area))
      ++y;
    ASSERT_LT(y, 119);
    buffer.Row(y)[40] = DieColour::Area;
    expectRefused(die, table, "Warning: Line breaks detected in cutting die.  tot=14,400, msk=");
  }
  {
    SCOPED_TRACE("a pocket painted in");
    FakeTable table(QSize(1000, 800));
    CuttingDie die(&source, 40, nullptr);
    // A one-pixel pocket near the middle cell's corner, reached by no piece.
    ASSERT_EQ(die.Buffer()->Row(44)[44], DieColour::Area);
    for (int y = 43; y <= 45; ++y)
      for (int x = 43; x <= 45; ++x) die.Buffer()->Row(y)[x] = DieColour::Line;
    die.Buffer()->Row(44)[44] = DieColour::Area;
    expectRefused(die, table,
                  "Warning: Orphaned sections detected in cutting die.  tot=14,400, msk=14,399");
  }
}

// Without a die, a table or a cut there is nothing to cut; a cancel while cutting leaves
// the pieces made so far for the caller to delete and answers the full count.
TEST(PieceCuttingTest, NothingToCutAndCancelling) {
  FakeTable table(QSize(1000, 800));
  FakePicture source(200, 200);
  FakeLoadProgress cancelled;
  cancelled.cancelled = true;
  CuttingDie stopped(&source, 20, &cancelled);  // no buffer
  CuttingDie die(&source, 20, nullptr);
  EXPECT_EQ(CuttingDie::CutChips(nullptr, nullptr, false, nullptr), 0);
  EXPECT_EQ(CuttingDie::CutChips(&stopped, nullptr, false, nullptr), 0);
  EXPECT_EQ(CuttingDie::CutChips(&die, nullptr, false, &cancelled), 0);
  PuzzleTable::SetCurrent(nullptr);
  EXPECT_EQ(CuttingDie::CutChips(&die, nullptr, false, nullptr), 0);
  PuzzleTable::SetCurrent(&table);
  EXPECT_EQ(table.pieces.Count(), 0);

  FakeLoadProgress progress(50);
  EXPECT_EQ(CuttingDie::CutChips(&die, nullptr, false, &progress), 100);
  EXPECT_EQ(progress.stages, std::vector<int>{3});
  EXPECT_TRUE(progress.cancelled);
  EXPECT_EQ(table.pieces.Count(), 51);
}
