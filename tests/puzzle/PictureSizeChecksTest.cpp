// Every size check of a preparation on both sides: a picture wrong in its height alone, a
// saved table, screen or group too large in its height alone, and a piece size above the
// picture's width alone.

#include "PuzzleFixtures.h"

#include "Yelk/Prompt.h"

#include <gtest/gtest.h>

namespace {

bool Shown(const Prompt::Double& prompts, const QString& part) {
  for (const Prompt::Record& record : prompts.Shown())
    if (record.text.contains(part)) return true;
  return false;
}

// A 200 × 150 game saved with 48 pieces of 25 pixels on a 1000 × 800 table.
void SaveGame(FakeJigsawReader& file) {
  file.savedGame = true;
  file.pictureSize = file.decodedSize = QSize(200, 150);
  file.pieceSize = 25;
  file.pieces = 48;
}

}  // namespace

TEST(PictureSizeChecks, APictureWrongInItsHeightAloneIsCorrupt) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  SaveGame(readers.jigsaw);
  readers.jigsaw.decodedSize = QSize(200, 149);
  Prompt::Double prompts;
  Puzzle puzzle(PuzzleFixtures::ScratchPath("high.saw"));
  EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
  EXPECT_TRUE(Shown(prompts, QStringLiteral("is corrupt and can not be opened")));
  EXPECT_EQ(table.pieces.Count(), 0);
}

// A saved table higher than this one places the main window as saved; a saved screen
// higher than this one maximises it instead; a group higher or wider than the table cannot
// be laid.
TEST(PictureSizeChecks, SavedTablesScreensAndGroupsTooHighAlone) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  FakeJigsawReader& file = readers.jigsaw;
  SaveGame(file);
  file.savedBounds = QRect(1, 2, 300, 400);
  const auto prepare = [&](const QStringList& layout, bool ready) {
    Prompt::Double prompts;
    table.layout.clear();
    Puzzle puzzle(PuzzleFixtures::ScratchPath("layout.saw"));
    EXPECT_EQ(puzzle.Prepare(&table, nullptr), ready);
    EXPECT_EQ(table.layout, layout);
    table.pieces.DeleteAll();
  };
  file.savedTable = QSize(1000, 801);
  prepare({"place 1,2 300x400", "mini 0"}, true);
  file.savedScreen = QSize(1280, 801);
  prepare({"maximize", "mini 0"}, true);
  file.largestGroup = QSize(100, 801);
  prepare({"maximize"}, false);
  // Width against width: a group as wide as the table fits, one pixel more does not.
  file.largestGroup = QSize(1000, 100);
  prepare({"maximize", "mini 0"}, true);
  file.largestGroup = QSize(1001, 100);
  prepare({"maximize"}, false);
}

TEST(PictureSizeChecks, APieceWiderThanThePictureIsRefused) {
  FakeTable table({1000, 800});
  Prompt::Double prompts;
  Puzzle puzzle(PuzzleFixtures::WritePicture("narrow.bmp", 150, 200));
  puzzle.SetPieceSize(151);
  EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
  EXPECT_TRUE(Shown(prompts, QStringLiteral("Die Failure.  151")));
}
