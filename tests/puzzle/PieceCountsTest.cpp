#include "puzzle/PieceCounts.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PieceCountsTest, OneEntryPerCellSizeWithGrowingCounts) {
  bool overflow = true;
  const auto choices = ListPieceCounts(640, 480, 0, &overflow, "", INT_MAX);
  EXPECT_FALSE(overflow);
  ASSERT_FALSE(choices.isEmpty());
  EXPECT_EQ(choices.front().cellSize, 240);
  EXPECT_EQ(choices.front().text, "4");  // 2 x (640 / 240)
  EXPECT_EQ(choices.back().cellSize, 480 / 36);
  for (int i = 0; i < choices.size(); ++i) {
    const int cell = choices[i].cellSize;
    EXPECT_EQ(choices[i].text.toInt(), PieceCount(640, 480, cell)) << cell;
    if (i > 0) {
      EXPECT_LT(cell, choices[i - 1].cellSize);
      EXPECT_GT(choices[i].text.toInt(), choices[i - 1].text.toInt());
    }
  }
}

TEST(PieceCountsTest, FirstEntryWantedCountAndCaps) {
  auto choices = ListPieceCounts(640, 480, 0, nullptr, "No minimum", INT_MAX);
  EXPECT_EQ(choices.front().text, "No minimum");
  EXPECT_EQ(choices.front().cellSize, 0);

  choices = ListPieceCounts(640, 480, 300, nullptr, "", INT_MAX);
  ASSERT_FALSE(choices.isEmpty());
  for (const auto& choice : choices) EXPECT_GE(choice.text.toInt(), 300);
  // A wanted count beyond reach still offers the largest one.
  choices = ListPieceCounts(640, 480, 100000, nullptr, "", INT_MAX);
  ASSERT_EQ(choices.size(), 1);
  EXPECT_EQ(choices.front().cellSize, 480 / 36);
  // A wanted count above the cap offers only the last count under it.
  bool overflow = false;
  choices = ListPieceCounts(640, 480, 500, &overflow, "", 400);
  EXPECT_TRUE(overflow);
  ASSERT_EQ(choices.size(), 1);
  EXPECT_LE(choices.front().text.toInt(), 400);
}

TEST(PieceCountsTest, CountsNeverPassSixteenBitPieceIds) {
  // 55 % of the area of a 7680 x 4320 screen with 13-pixel pieces would give about 108,000.
  bool overflow = false;
  const auto choices = ListPieceCounts(5696, 3204, 0, &overflow, "", INT_MAX);
  EXPECT_TRUE(overflow);
  ASSERT_FALSE(choices.isEmpty());
  for (const auto& choice : choices) EXPECT_LE(choice.text.toInt(), MaxPieceCount);
  EXPECT_EQ(PieceCount(500, 300, 0), 0);
  EXPECT_EQ(PieceCount(500, 300, 40), 12 * 7);
}
