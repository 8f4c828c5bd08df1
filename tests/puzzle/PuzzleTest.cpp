#include "PuzzleFixtures.h"
#include "TestEnvironment.h"

#include "imaging/VirtualBuffer.h"
#include "settings/ProgSettings.h"
#include "Yelk/Prompt.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <gtest/gtest.h>

#include <sys/stat.h>

using PuzzleFixtures::ScratchPath;
using PuzzleFixtures::WritePicture;

// Pictures open by their extension in any case; without a table area (start-up, no screen)
// nothing is fitted; the live picture, unshaded before a bevel exists, has the play size.
TEST(PuzzleTest, PicturesOpenInAnyCase) {
  Prompt::Double prompts;
  for (const char* name : {"upper.JPG", "long.Jpeg", "plain.bmp"}) {
    Puzzle puzzle(WritePicture(name, 64, 48));
    EXPECT_TRUE(puzzle.IsValid()) << name;
    EXPECT_FALSE(puzzle.IsScaled());
    EXPECT_EQ(puzzle.GetImageSize(), QSize(64, 48));
    const VirtualBuffer* image = puzzle.GetImage();
    ASSERT_NE(image, nullptr) << name;
    EXPECT_EQ(QSize(image->width, image->height), QSize(64, 48));
    EXPECT_EQ(puzzle.GetImage(false), image);
  }
  EXPECT_EQ(Puzzle(WritePicture("x.JPG", 8, 8)).GetTypeName(), "JPEG image");
  EXPECT_EQ(Puzzle(WritePicture("x.Bmp", 8, 8)).GetTypeName(), "Bitmap image");
  EXPECT_TRUE(prompts.Shown().isEmpty());
}

// A picture larger than the table is fitted, and the live picture has the fitted size, so
// that nothing reading it by the play size runs outside it.
TEST(PuzzleTest, LargePictureDecodesAtPlaySize) {
  FakeTable table({300, 200});
  for (const char* name : {"big.jpg", "big.bmp"}) {
    Puzzle puzzle(WritePicture(name, 400, 300));
    ASSERT_TRUE(puzzle.IsScaled()) << name;
    const QSize play = puzzle.GetImageSize();
    EXPECT_LE(play.width(), 280);
    EXPECT_LE(play.height(), 180);
    const VirtualBuffer* image = puzzle.GetImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(QSize(image->width, image->height), play);
  }
}

// A damaged picture file gives no size, no picture and no thumbnail, and no crash.
TEST(PuzzleTest, UndecodablePictureGivesNoImage) {
  const QString path = ScratchPath("broken.jpg");
  ASSERT_TRUE(TestEnvironment::WriteFile(path, QByteArray(64, '\x5a')));
  Puzzle puzzle(path);
  EXPECT_TRUE(puzzle.GetImageSize().isEmpty());
  EXPECT_EQ(puzzle.GetImage(), nullptr);
  EXPECT_TRUE(puzzle.MakeThumbnail(64).isNull());
}

// Kinds without a reader, and reader failures, become the player's messages; the puzzle is
// invalid but listed, and missing or unsupported files leave the recent list.
TEST(PuzzleTest, OpenFailuresAreReported) {
  Prompt::Double prompts;
  // A missing file is missing whatever its kind; a picture named as an animated puzzle is a
  // file of the wrong kind, which stays listed.
  const QString jig = ScratchPath("PUZZLE.JIG"), qvp = ScratchPath("absent.qvp");
  const QString animated = PuzzleFixtures::WritePicture(QStringLiteral("there.bmp"), 4, 4);
  const QString there = ScratchPath("there.qvp");
  QFile::remove(there);
  ASSERT_TRUE(QFile::copy(animated, there));
  Settings()->RecentPuzzles = {jig, qvp, there};
  for (const QString& path : {jig, qvp}) {
    auto* unread = new Puzzle(path);
    EXPECT_FALSE(unread->IsValid());
    EXPECT_EQ(prompts.Shown().back().text, "File \"" + path + "\" could not be found.");
    EXPECT_EQ(prompts.Shown().back().caption, "Error");
    EXPECT_EQ(prompts.Shown().back().icon, Prompt::Stop);
  }
  auto* wrongKind = new Puzzle(there);
  EXPECT_FALSE(wrongKind->IsValid());
  EXPECT_EQ(prompts.Shown().back().text, "File \"" + there + "\" is corrupt and can not be opened.  err=2");
  EXPECT_EQ(Settings()->RecentPuzzles, QStringList{there});
  DeleteAllPuzzles();
  prompts.Clear();

  ReaderScope readers;
  readers.jigsaw.status = 1;
  Puzzle missing(ScratchPath("gone.saw"));
  EXPECT_EQ(prompts.Shown()[0].text,
            "File \"" + ScratchPath("gone.saw") + "\" could not be found.");
  readers.jigsaw.status = 4;
  Puzzle corrupt(ScratchPath("bad.jig"));
  EXPECT_EQ(prompts.Shown()[1].text,
            "File \"" + ScratchPath("bad.jig") + "\" is corrupt and can not be opened.  err=4");
  EXPECT_FALSE(corrupt.IsValid());
  RemovePuzzleFromList(&missing);
  RemovePuzzleFromList(&corrupt);
  DeleteAllPuzzles();  // frees the listed one only
}

// A saved game carries its scale, hints, play time and joins into the puzzle, and its
// facts read from its records until it is started.
TEST(PuzzleTest, SavedGameTakesItsRecords) {
  ReaderScope readers;
  FakeJigsawReader& file = readers.jigsaw;
  file.savedGame = true;
  file.scale = 0.5f;
  file.hintLimit = 10;
  file.hintsUsed = 3;
  file.elapsed = 3725;
  file.joins = 40;
  file.pieces = 101;
  file.saveDate = 36526;
  Puzzle puzzle(ScratchPath("game.saw"));
  EXPECT_FLOAT_EQ(puzzle.GetScale(), 0.5f);
  EXPECT_EQ(puzzle.GetHintLimit(), 10);
  EXPECT_EQ(puzzle.GetHintsUsed(), 3);
  EXPECT_EQ(puzzle.GetJoins(), 40);
  EXPECT_EQ(puzzle.GetPieceCount(), 101);
  EXPECT_EQ(puzzle.GetPercentComplete(), 40);
  EXPECT_EQ(puzzle.GetLastPlayDate(),
            QLocale::system().toString(QDate(2000, 1, 1), QLocale::ShortFormat));
  EXPECT_EQ(puzzle.FormatElapsed(true), "1 hours, 2 mins");
  Settings()->ShowSeconds = false;
  EXPECT_EQ(puzzle.FormatElapsed(false), "1 h 02 m");
  Settings()->ShowSeconds = true;
  EXPECT_EQ(puzzle.FormatElapsed(false), "1 h 02 m 05 s");
  Settings()->ShowSeconds = false;
}

// Percentages stay within 0..100 whatever the counts: one or no saved piece, more joins
// than pieces, or a puzzle started without pieces.
TEST(PuzzleTest, PercentNeverDividesByZero) {
  ReaderScope readers;
  readers.jigsaw.savedGame = true;
  for (int pieces : {1, 0, -3}) {
    readers.jigsaw.pieces = pieces;
    readers.jigsaw.joins = 5;
    EXPECT_EQ(Puzzle(ScratchPath("p.saw")).GetPercentComplete(), 0) << pieces;
  }
  readers.jigsaw.pieces = 10;
  readers.jigsaw.joins = 50;
  EXPECT_EQ(Puzzle(ScratchPath("p.saw")).GetPercentComplete(), 100);

  Puzzle played(WritePicture("played.jpg", 16, 16));
  PuzzleTestAccess::Start(played, 100);
  EXPECT_EQ(played.GetPercentComplete(), 0);
  for (int i = 0; i < 98; ++i) played.AddJoin();
  EXPECT_EQ(played.GetPercentComplete(), 98);
  played.AddJoin();
  EXPECT_EQ(played.GetPercentComplete(), 100);
  PuzzleTestAccess::Start(played, 0);
  EXPECT_EQ(played.GetPercentComplete(), 0);
}

// The limit only falls and the count only rises; running low shows the tips.
TEST(PuzzleTest, HintAllowance) {
  Puzzle puzzle(WritePicture("hints.jpg", 16, 16));
  puzzle.SetHintCounts(3, 4);
  puzzle.SetHintCounts(5, 2);
  EXPECT_EQ(puzzle.GetHintLimit(), 3);
  EXPECT_EQ(puzzle.GetHintsUsed(), 4);
  puzzle.SetHintCounts(2, 6);
  EXPECT_EQ(puzzle.GetHintLimit(), 2);
  EXPECT_EQ(puzzle.GetHintsUsed(), 6);

  RecordedTips tips;
  Puzzle limited(WritePicture("ten.jpg", 16, 16));
  limited.SetHintCounts(10, 0);
  for (int i = 0; i < 11; ++i) limited.UseHint();
  EXPECT_EQ(tips.shown, QList<int>({13, 13, 13, 13, 13, 27, 13, 13}));
  EXPECT_TRUE(limited.IsChanged());
}

// Only the current puzzle takes the table's pieces with it; freeing it clears the current
// puzzle and picture; a puzzle that deletes its source removes the file.
TEST(PuzzleTest, DestructionClearsCurrentAndSource) {
  FakeTable table({1000, 800});
  const QString temporary = WritePicture("temporary.bmp", 16, 16);
  {
    Puzzle other(WritePicture("other.jpg", 16, 16));
    Puzzle played(temporary, true);
    PuzzleTestAccess::Start(played, 4);
    EXPECT_EQ(Puzzle::Current(), &played);
    EXPECT_EQ(PictureSizeSource::Current(), &played);
  }
  EXPECT_EQ(table.piecesDeleted, 1);
  EXPECT_EQ(Puzzle::Current(), nullptr);
  EXPECT_EQ(PictureSizeSource::Current(), nullptr);
  EXPECT_FALSE(QFile::exists(temporary));
}

// Thumbnails keep the aspect inside the box and never enlarge; a puzzle that forbids its
// preview has none. The saved-game writer learns when the picture could not be copied.
TEST(PuzzleTest, ThumbnailsAndPictureCopies) {
  Puzzle wide(WritePicture("wide.jpg", 200, 100));
  EXPECT_EQ(wide.MakeThumbnail(50).size(), QSize(50, 25));
  const QString tallPath = WritePicture("tall.bmp", 30, 90);
  Puzzle tall(tallPath);
  EXPECT_EQ(tall.MakeThumbnail(60).size(), QSize(20, 60));
  EXPECT_EQ(tall.MakeThumbnail(500).size(), QSize(30, 90));
  ReaderScope readers;
  readers.jigsaw.boxCoverAvailable = false;
  EXPECT_TRUE(Puzzle(ScratchPath("secret.jig")).MakeThumbnail(50).isNull());

  QBuffer stream;
  stream.open(QIODevice::WriteOnly);
  EXPECT_TRUE(tall.WritePicture(stream));
  EXPECT_EQ(stream.data(), TestEnvironment::ReadFile(tallPath));
  // Gone since it was opened: the copy is still the picture that was opened.
  QFile::remove(tallPath);
  QBuffer again;
  again.open(QIODevice::WriteOnly);
  EXPECT_TRUE(tall.WritePicture(again));
  EXPECT_EQ(again.data(), stream.data());
  // A picture that could not be read at all has nothing to copy.
  Prompt::Double prompts;
  EXPECT_FALSE(Puzzle(ScratchPath("never there.bmp")).WritePicture(again));
}

// A picture path that is a pipe is not waited on: the puzzle has no picture to measure, show
// or save, and says so instead of hanging.
TEST(PuzzleTest, APictureThatIsAPipeIsNeitherWaitedOnNorSaved) {
  const QString pipe = ScratchPath("pipe.bmp");
  QFile::remove(pipe);
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  Prompt::Double prompts;
  Puzzle puzzle(pipe);
  EXPECT_TRUE(puzzle.GetImageSize().isEmpty());
  EXPECT_TRUE(puzzle.LoadPicture().isNull());
  QBuffer stream;
  stream.open(QIODevice::WriteOnly);
  EXPECT_FALSE(puzzle.WritePicture(stream));
  EXPECT_TRUE(stream.data().isEmpty());
  QFile::remove(pipe);
}
