#include "TableFixtures.h"
#include "PuzzleFixtures.h"
#include "Yelk/IntArray.h"
#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PuzzleChip.h"

#include <gtest/gtest.h>

#include <functional>

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

// Whether the mask's pixels form one 4-connected shape.
bool OneShape(const ChipMask& mask) {
  const int w = mask.Width(), h = mask.Height();
  std::vector<char> in(std::size_t(w) * h, 0);
  int pixels = 0;
  mask.ForEachRun([&](int y, int first, int last) {
    for (int x = first; x <= last; ++x, ++pixels)
      in[std::size_t(y - mask.FirstRow()) * w + (x - mask.MinX())] = 1;
  });
  std::vector<int> stack;
  for (std::size_t i = 0; i < in.size() && stack.empty(); ++i)
    if (in[i]) stack.push_back(int(i)), in[i] = 2;
  int reached = 0;
  while (!stack.empty()) {
    const int at = stack.back();
    stack.pop_back();
    ++reached;
    const int x = at % w, y = at / w;
    for (const QPoint& n : {QPoint(x - 1, y), QPoint(x + 1, y), QPoint(x, y - 1), QPoint(x, y + 1)})
      if (n.x() >= 0 && n.y() >= 0 && n.x() < w && n.y() < h && in[std::size_t(n.y()) * w + n.x()] == 1) {
        in[std::size_t(n.y()) * w + n.x()] = 2;
        stack.push_back(n.y() * w + n.x());
      }
  }
  return pixels > 0 && reached == pixels;
}

}  // namespace

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

// Stretched cells (a remainder spread over few cells, one row or column, small pictures) can
// bring two knobs within a pixel of each other, where the cleaning breaks a line, reach a
// knob past the half cell its piece's rectangle spans, or into a narrow neighbour's middle.
// Such dies are cleaned again, the knobs go whole to their pieces and a knob at a seed to the
// piece it belongs to: every size cuts, each piece is one shape.
TEST(PieceCuttingTest, StretchedCellsCutIntoOneShapeEach) {
  auto expectCut = [](int width, int height, int size) {
    SCOPED_TRACE(testing::Message() << width << "x" << height << " at " << size);
    FakeTable table(QSize(1000, 800));
    FakePicture source(width, height);
    CuttingDie die(&source, size, nullptr);
    ASSERT_EQ(CuttingDie::CutChips(&die, nullptr, false, nullptr), (width / size) * (height / size));
    ExpectExactCover(table.pieces, die);
    for (int i = 0; i < table.pieces.Count(); ++i)
      ASSERT_TRUE(OneShape(table.pieces[i]->Mask())) << "piece " << i;
  };
  // Knobs within a pixel of each other; knob tips past the half cell, in one row and three;
  // a knob as far as the middle of a narrow cell.
  expectCut(400, 77, 13);
  expectCut(160, 90, 50);
  expectCut(220, 123, 31);
  expectCut(400, 200, 101);
  expectCut(400, 200, 130);
  // Small pictures cut into at most three pieces across their shorter side fail most often.
  for (int width = 40; width <= 240; width += 40)
    for (const QSize& aspect : {QSize(4, 3), QSize(3, 2), QSize(16, 9), QSize(3, 4), QSize(1, 1),
                                QSize(2, 1)}) {
      const int height = width * aspect.height() / aspect.width(), shorter = std::min(width, height);
      for (int size = std::max(13, shorter / 3); size <= shorter; size += 5)
        expectCut(width, height, size);
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

// A die whose line is broken or that holds a pocket no piece reaches gives no pieces and
// one warning, also when the two faults' pixel counts cancel out. The faults are painted
// into a die that has cut once: it keeps its drawn lines only until then.
TEST(PieceCuttingTest, BrokenDiesAreRefused) {
  FakePicture source(120, 120);
  auto expectRefused = [&](const std::function<void(VirtualBuffer&)>& paint, const QString& warning) {
    FakeTable table(QSize(1000, 800));
    CuttingDie die(&source, 40, nullptr);
    ASSERT_EQ(CuttingDie::CutChips(&die, nullptr, true, nullptr), 9);
    paint(*die.Buffer());
    EXPECT_EQ(CuttingDie::CutChips(&die, nullptr, true, nullptr), 0);
    EXPECT_EQ(table.pieces.Count(), 0);
    const QStringList log = TMsgLog::Lines();
    ASSERT_GE(log.size(), 2);
    EXPECT_TRUE(log[log.size() - 2].contains("Puzzle Stats: w=120")) << log[log.size() - 2].toStdString();
    EXPECT_TRUE(log.last().contains(warning)) << log.last().toStdString();
  };
  // A pixel of the first vertical line with area on both sides joins two pieces' areas.
  auto breakLine = [](VirtualBuffer& die) {
    int y = 41;
    while (y < 119 && !(die.Row(y)[39] == DieColour::Area && die.Row(y)[40] == DieColour::Line &&
                        die.Row(y)[41] == DieColour::Area))
      ++y;
    ASSERT_LT(y, 119);
    die.Row(y)[40] = DieColour::Area;
  };
  // Area pixels first .. last of row y, walled in by line: reached by a piece only when one
  // of its seeds lies there.
  auto wallIn = [](VirtualBuffer& die, int first, int last, int y) {
    for (int row = y - 1; row <= y + 1; ++row)
      for (int x = first - 1; x <= last + 1; ++x) die.Row(row)[x] = DieColour::Line;
    for (int x = first; x <= last; ++x) die.Row(y)[x] = DieColour::Area;
  };
  expectRefused(breakLine, "Warning: Line breaks detected in cutting die.  tot=14,400, msk=");
  // A pixel near the middle cell's corner, away from its seeds.
  expectRefused([&](VirtualBuffer& die) { wallIn(die, 44, 44, 44); },
                "Warning: Orphaned sections detected in cutting die.  tot=14,400, msk=14,399");
  // Three pixels holding the corner seeds of two cells are counted twice, three others by
  // nobody.
  expectRefused(
      [&](VirtualBuffer& die) {
        wallIn(die, 39, 41, 79);
        wallIn(die, 50, 52, 50);
      },
      "Warning: Line breaks detected in cutting die.  tot=14,400, msk=14,400");
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
