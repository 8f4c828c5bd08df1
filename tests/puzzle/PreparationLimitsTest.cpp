#include "PuzzleFixtures.h"

#include "Yelk/Prompt.h"

#include <gtest/gtest.h>

using PuzzleFixtures::ScratchPath;
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

// Sizes are compared side by side: a saved picture that decodes one row taller is corrupt,
// and a saved table taller than this one (but not wider) brings the main window back as it
// was saved.
TEST(PreparationLimitsTest, AHeightAloneCounts) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  FakeJigsawReader& file = readers.jigsaw;
  file.savedGame = true;
  file.pictureSize = QSize(200, 150);
  file.decodedSize = QSize(200, 151);
  file.pieceSize = 25;
  file.pieces = 48;
  {
    Prompt::Double prompts;
    Puzzle puzzle(ScratchPath("taller.saw"));
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
    ASSERT_FALSE(prompts.Shown().isEmpty());
    EXPECT_TRUE(prompts.Shown().last().text.contains("is corrupt and can not be opened."));
    EXPECT_EQ(table.pieces.Count(), 0);
  }
  file.decodedSize = file.pictureSize;
  file.savedTable = QSize(1000, 801);
  file.savedBounds = QRect(5, 6, 700, 500);
  Prompt::Double prompts;
  Puzzle puzzle(ScratchPath("tall table.saw"));
  EXPECT_TRUE(puzzle.Prepare(&table, nullptr));
  EXPECT_TRUE(table.layout.contains(QStringLiteral("place 5,6 700x500")));
  EXPECT_TRUE(prompts.Shown().isEmpty());
}
