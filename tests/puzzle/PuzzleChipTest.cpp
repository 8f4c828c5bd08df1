#include "TableFixtures.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/BevelRings.h"

#include <gtest/gtest.h>

#include <set>

using namespace TableFixtures;

namespace {

constexpr ChipSide AllSides[] = {ChipSide::Left, ChipSide::Right, ChipSide::Up, ChipSide::Down};

// The pieces that can be fully joined at each turn, with the sides they need joined.
bool TableSaysJoined(int edgeClass, int rotation, const std::set<ChipSide>& joined) {
  using S = ChipSide;
  static const std::map<int, std::map<int, std::set<ChipSide>>> needed = {
      {0, {{1, {S::Right, S::Down}}, {5, {S::Left, S::Right, S::Down}}, {7, {S::Right, S::Up, S::Down}}, {9, {S::Left, S::Right, S::Up, S::Down}}}},
      {90, {{3, {S::Right, S::Up}}, {6, {S::Left, S::Right, S::Up}}, {7, {S::Right, S::Up, S::Down}}, {9, {S::Left, S::Right, S::Up, S::Down}}}},
      {180, {{4, {S::Left, S::Up}}, {6, {S::Left, S::Right, S::Up}}, {8, {S::Left, S::Up, S::Down}}, {9, {S::Left, S::Right, S::Up, S::Down}}}},
      {270, {{2, {S::Left, S::Down}}, {5, {S::Left, S::Right, S::Down}}, {8, {S::Left, S::Up, S::Down}}, {9, {S::Left, S::Right, S::Up, S::Down}}}}};
  const auto& classes = needed.at(rotation);
  const auto sides = classes.find(edgeClass);
  if (sides == classes.end()) return false;
  return std::includes(joined.begin(), joined.end(), sides->second.begin(), sides->second.end());
}

// Every piece of a grid, every turn and every set of its inner sides joined.
void CompareWithRule(int columns, int rows, bool expectTable) {
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      for (int rotation : {0, 90, 180, 270})
        for (int chosen = 0; chosen < 16; ++chosen) {
          Grid grid(columns, rows);
          PuzzleChip* piece = grid.At(column, row);
          piece->Mask().SetRotation(rotation);
          std::set<ChipSide> joined;
          for (int side = 0; side < 4; ++side) {
            PuzzleChip* neighbour = piece->Neighbour(AllSides[side]);
            if (neighbour && (chosen >> side & 1)) piece->JoinSide(neighbour);
            if (piece->IsJoined(AllSides[side])) joined.insert(AllSides[side]);
          }
          const bool expected =
              expectTable && TableSaysJoined(piece->EdgeClass(), rotation, joined);
          EXPECT_EQ(piece->AllSidesJoined(), expected)
              << columns << "x" << rows << " piece " << column << "," << row << " class "
              << piece->EdgeClass() << " turned " << rotation << " sides " << chosen;
        }
}

}  // namespace

// A piece of a single row or column always lies on a border at its table right or bottom,
// so it is never all joined.
TEST(PuzzleChipTest, AllSidesJoinedAsTheTableSays) {
  for (QSize grid : {QSize(3, 3), QSize(2, 2), QSize(4, 3), QSize(3, 1), QSize(1, 3), QSize(1, 1)})
    CompareWithRule(grid.width(), grid.height(), grid.width() > 1 && grid.height() > 1);
}

TEST(PuzzleChipTest, JoiningSetsBothSidesAndDropsTheShadowWhenDone) {
  Grid grid(3, 3);
  PuzzleChip* middle = grid.At(1, 1);
  EXPECT_FALSE(middle->Outline().empty());
  middle->JoinSide(grid.At(1, 0));
  EXPECT_TRUE(middle->IsJoined(ChipSide::Up));
  EXPECT_TRUE(grid.At(1, 0)->IsJoined(ChipSide::Down));
  middle->JoinSide(grid.At(0, 1));
  middle->JoinSide(grid.At(2, 1));
  EXPECT_FALSE(middle->Outline().empty());
  grid.At(1, 2)->JoinSide(middle);
  EXPECT_TRUE(middle->AllSidesJoined());
  EXPECT_TRUE(middle->Outline().empty());

  // A piece on the right border keeps its shadow however many sides are joined.
  PuzzleChip* right = grid.At(2, 1);
  right->JoinSide(grid.At(2, 0));
  right->JoinSide(grid.At(2, 2));
  right->RebuildShading();
  EXPECT_FALSE(right->Outline().empty());
}

TEST(PuzzleChipTest, RebuildingShadesForTheTurn) {
  Grid grid(2, 2);
  PuzzleChip* piece = grid.At(1, 1);  // the 10 x 10 square at (10, 10)
  {
    BevelFilter bevel(nullptr, true, 20, 20);
    BevelFilter::SetCurrent(&bevel);
    BevelRings::SetBevelStyle(1);
    piece->RebuildShading();
    EXPECT_EQ(bevel.MapRow(10)[10], 60);
    EXPECT_EQ(bevel.MapRow(19)[19], -60);
    piece->Mask().SetRotation(180);
    piece->RebuildShading();
    EXPECT_EQ(bevel.MapRow(10)[10], -60);
    EXPECT_EQ(bevel.MapRow(19)[19], 60);
    // The shadow falls right of and below the turned square, in the mask's frame; the first
    // pixel in run order lies in the table's bottom right corner.
    EXPECT_EQ(piece->Outline().size(), 19u);
    EXPECT_EQ(piece->Outline().front().x, 20);
    EXPECT_EQ(piece->Outline().front().y, 20);
  }
  EXPECT_EQ(BevelFilter::Current(), nullptr);
  piece->RebuildShading();  // no filter: only the outline
  EXPECT_FALSE(piece->Outline().empty());
}
