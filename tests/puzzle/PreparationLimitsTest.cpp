#include "PuzzleFixtures.h"

#include "Yelk/Prompt.h"

#include <gtest/gtest.h>

using PuzzleFixtures::WritePicture;

// The smallest piece size and one as large as the picture's shorter side both cut; one
// pixel less or more is refused (the preparation tests hold those).
TEST(PreparationLimitsTest, TheSmallestAndTheLargestPieceSizeCut) {
  FakeTable table({1000, 800});
  Puzzle puzzle(WritePicture("limits.bmp", 200, 150));
  for (const auto& [size, pieces] : {std::pair{13, 15 * 11}, std::pair{150, 1}}) {
    Prompt::Double prompts;
    puzzle.SetPieceSize(size);
    ASSERT_TRUE(puzzle.Prepare(&table, nullptr)) << size;
    EXPECT_EQ(puzzle.GetPieceSize(), size);
    EXPECT_EQ(puzzle.GetPieceCount(), pieces);
    EXPECT_TRUE(PuzzleFixtures::PiecesPartition(table.pieces, 200, 150)) << size;
    EXPECT_TRUE(prompts.Shown().isEmpty()) << size;
  }
}
