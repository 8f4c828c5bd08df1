#include "PuzzleFixtures.h"
#include "BlankAnimatedReader.h"
#include "TestEnvironment.h"

#include "puzzle/AnimatedFileReader.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PixelMap.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/PuzzleFileReaders.h"
#include "puzzle/PuzzleFileStatus.h"
#include "imaging/VirtualBuffer.h"
#include "settings/ProgSettings.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"

#include <gtest/gtest.h>

#include <vector>

using PuzzleFixtures::PiecesPartition;
using PuzzleFixtures::ScratchPath;
using PuzzleFixtures::WritePicture;

namespace {

const QString CorruptText = QStringLiteral("\" is corrupt and can not be opened.  err=4");

// Cancels once the window shows `stage` and its bar has passed `position`.
class CancelAt : public FakeLoadProgress {
public:
  CancelAt(int stage, int position) : stage_(stage), position_(position) {}
  void SetBarPosition(int position) override {
    FakeLoadProgress::SetBarPosition(position);
    if (!stages.empty() && stages.back() == stage_ && bar > position_) cancelled = true;
  }

private:
  int stage_, position_;
};

// Esc pressed while the picture decodes, before any stage shows: the decode's poll of the
// window is the first call that finds it.
class CancelWhileDecoding : public FakeLoadProgress {
public:
  void SetBarPosition(int position) override {
    FakeLoadProgress::SetBarPosition(position);
    if (stages.empty()) {
      ++polls;
      cancelled = true;
    }
  }
  int polls = 0;
};

// A cut that fails the first `failures` times, as one whose knobs touch does: it leaves
// its pieces on the table and answers 0.
int failures = 0;
int cutCalls = 0;
int FailingCut(CuttingDie* die, BevelFilter* bevel, bool outline, LoadProgress* window) {
  ++cutCalls;
  const int count = CuttingDie::CutChips(die, bevel, outline, window);
  return cutCalls <= failures ? 0 : count;
}

class FakeAnimatedReader : public BlankAnimatedReader {
public:
  int Status() const override { return status; }
  int FileVersion() const override { return version; }
  bool CopyPicture(QIODevice&) override { return true; }
  int status = pfsReady;
  int version = 1;
};

bool Shown(const Prompt::Double& prompts, const QString& part) {
  for (const Prompt::Record& record : prompts.Shown())
    if (record.text.contains(part)) return true;
  return false;
}

// A 200 x 150 game saved with 48 pieces of 25 pixels.
void SaveGameOf48(FakeJigsawReader& file) {
  file.savedGame = true;
  file.pictureSize = file.decodedSize = QSize(200, 150);
  file.pieceSize = 25;
  file.pieces = 48;
}

// Nothing of a cut is left behind: no pieces, no bevel, not started.
void ExpectNoCut(Puzzle& puzzle, FakeTable& table) {
  EXPECT_EQ(table.pieces.Count(), 0);
  EXPECT_EQ(puzzle.GetBevel(), nullptr);
  EXPECT_EQ(BevelFilter::Current(), nullptr);
  EXPECT_EQ(puzzle.GetPixelMap(), nullptr);
  EXPECT_EQ(PixelMap::Current(), nullptr);
  EXPECT_FALSE(puzzle.IsStarted());
}

}  // namespace

namespace {
// Puts the failing cut in for one test.
struct FailingCutScope {
  explicit FailingCutScope(int times) {
    failures = times;
    cutCalls = 0;
    PuzzleTestAccess::UseCutter(&FailingCut);
  }
  ~FailingCutScope() { PuzzleTestAccess::UseCutter(&CuttingDie::CutChips); }
};
}  // namespace

// BMP and JPEG files, upper-case extensions too, become a started puzzle whose pieces
// partition the picture, with a bevel of its size; the busy level is given back.
TEST(PuzzlePreparationTest, PicturesBecomePartitionedPieces) {
  Prompt::Double prompts;
  FakeTable table({1000, 800});
  for (const char* name : {"cut.BMP", "cut.jpg"}) {
    Puzzle puzzle(WritePicture(name, 200, 150));
    puzzle.SetPieceSize(25);
    FakeLoadProgress progress;
    const int busy = HourGlass::HG().Level();
    ASSERT_TRUE(puzzle.Prepare(&table, &progress)) << name;
    EXPECT_EQ(HourGlass::HG().Level(), busy);
    EXPECT_EQ(puzzle.GetPieceCount(), 48);
    EXPECT_EQ(table.pieces.Count(), 48);
    EXPECT_TRUE(PiecesPartition(table.pieces, 200, 150)) << name;
    ASSERT_NE(puzzle.GetBevel(), nullptr);
    EXPECT_EQ(QSize(puzzle.GetBevel()->Width(), puzzle.GetBevel()->Height()), QSize(200, 150));
    ASSERT_NE(puzzle.GetPixelMap(), nullptr);
    EXPECT_EQ(puzzle.GetPixelMap(), PixelMap::Current());
    EXPECT_EQ(QSize(puzzle.GetPixelMap()->Width(), puzzle.GetPixelMap()->Height()), QSize(200, 150));
    EXPECT_TRUE(puzzle.IsStarted());
    EXPECT_TRUE(puzzle.IsClockRunning());
    EXPECT_EQ(Puzzle::Current(), &puzzle);
    table.pieces.DeleteAll();
  }
  EXPECT_TRUE(prompts.Shown().isEmpty());
}

// A cancel while the die is drawn or while the pieces are cut leaves nothing behind, and
// the puzzle can be prepared again afterwards.
TEST(PuzzlePreparationTest, CancelAtEachStageLeavesNothing) {
  Prompt::Double prompts;
  FakeTable table({1000, 800});
  Puzzle puzzle(WritePicture("cancel.bmp", 200, 150));
  puzzle.SetPieceSize(25);
  for (int stage : {2, 3}) {
    CancelAt progress(stage, 10);
    EXPECT_FALSE(puzzle.Prepare(&table, &progress)) << stage;
    EXPECT_TRUE(progress.cancelled);
    ExpectNoCut(puzzle, table);
  }
  FakeLoadProgress again;
  EXPECT_TRUE(puzzle.Prepare(&table, &again));
  EXPECT_EQ(table.pieces.Count(), 48);
  table.pieces.DeleteAll();
  EXPECT_TRUE(prompts.Shown().isEmpty());
}

// Esc during the picture's decode stops the load there, as a cancel and not as a file that
// cannot be opened; the picture is decoded whole the next time.
TEST(PuzzlePreparationTest, EscWhileThePictureDecodesStopsTheLoadWithoutABox) {
  Prompt::Double prompts;
  FakeTable table({1000, 800});
  Puzzle puzzle(WritePicture("decoding.jpg", 200, 150));
  puzzle.SetPieceSize(25);
  CancelWhileDecoding progress;
  EXPECT_FALSE(puzzle.Prepare(&table, &progress));
  EXPECT_EQ(progress.polls, 1);
  EXPECT_TRUE(progress.stages.empty());
  EXPECT_TRUE(TMsgLog::Lines().join('\n').contains(QStringLiteral("decoding.jpg - JPEG decode cancelled")));
  ExpectNoCut(puzzle, table);
  EXPECT_TRUE(prompts.Shown().isEmpty());
  FakeLoadProgress again;
  ASSERT_TRUE(puzzle.Prepare(&table, &again));
  EXPECT_EQ(table.pieces.Count(), 48);
  EXPECT_TRUE(PiecesPartition(table.pieces, 200, 150));
  table.pieces.DeleteAll();
  // With no loading window there is nobody to press Esc: the decode runs to its end.
  ASSERT_TRUE(puzzle.Prepare(&table, nullptr));
  EXPECT_EQ(table.pieces.Count(), 48);
  table.pieces.DeleteAll();
}

// A failed cut is tried again one pixel larger, with the failed pieces gone first; after
// three retries it is a die failure naming the last size.
TEST(PuzzlePreparationTest, FailedCutRetriesLargerThenGivesUp) {
  Prompt::Double prompts;
  FakeTable table({1000, 800});
  Puzzle puzzle(WritePicture("retry.bmp", 200, 150));
  {
    FailingCutScope failing(2);
    puzzle.SetPieceSize(30);
    EXPECT_TRUE(puzzle.Prepare(&table, nullptr));
    EXPECT_EQ(cutCalls, 3);
    EXPECT_EQ(puzzle.GetPieceSize(), 32);
    EXPECT_EQ(table.pieces.Count(), (200 / 32) * (150 / 32));
    table.pieces.DeleteAll();
  }
  {
    FailingCutScope failing(100);
    puzzle.SetPieceSize(30);
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
    EXPECT_EQ(cutCalls, 4);
    EXPECT_TRUE(Shown(prompts, QStringLiteral("Die Failure.  33")));
    ExpectNoCut(puzzle, table);
  }
}

// Sizes the die cannot cut are refused before cutting; a picture that does not decode is
// reported; a picture type nobody reads gives no image.
TEST(PuzzlePreparationTest, UncuttableSizesAndPicturesAreReported) {
  FakeTable table({1000, 800});
  Puzzle puzzle(WritePicture("sizes.bmp", 200, 150));
  const int busy = HourGlass::HG().Level();
  for (int size : {0, 12, 151}) {
    Prompt::Double prompts;
    puzzle.SetPieceSize(size);
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
    EXPECT_EQ(HourGlass::HG().Level(), busy);
    EXPECT_TRUE(Shown(prompts, QStringLiteral("Die Failure.  ") + QString::number(size)));
    ExpectNoCut(puzzle, table);
  }
  const QString broken = ScratchPath(QStringLiteral("broken.JPEG"));
  ASSERT_TRUE(TestEnvironment::WriteFile(broken, "\xFF\xD8 not really a picture"));
  Prompt::Double prompts;
  Puzzle undecodable(broken);
  undecodable.SetPieceSize(25);
  EXPECT_FALSE(undecodable.Prepare(&table, nullptr));
  EXPECT_TRUE(Shown(prompts, QStringLiteral("Error: Unable to open the requested file.")));
  ExpectNoCut(undecodable, table);
}

// A saved game is cut at its own size into its own count or not at all: another count, a
// failed cut (never retried), a bad size or a picture of the wrong size is a corrupt file.
TEST(PuzzlePreparationTest, SavedGamesAreCutExactlyAsSaved) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  FakeJigsawReader& file = readers.jigsaw;
  SaveGameOf48(file);
  {
    Prompt::Double prompts;
    Puzzle puzzle(ScratchPath("good.saw"));
    EXPECT_TRUE(puzzle.Prepare(&table, nullptr));
    EXPECT_EQ(puzzle.GetPieceSize(), 25);
    EXPECT_EQ(table.pieces.Count(), 48);
    table.pieces.DeleteAll();
    EXPECT_TRUE(prompts.Shown().isEmpty());
  }
  const auto expectCorrupt = [&](const char* name) {
    Prompt::Double prompts;
    Puzzle puzzle(ScratchPath(name));
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr)) << name;
    EXPECT_TRUE(Shown(prompts, QStringLiteral("File \"") + ScratchPath(name) + CorruptText))
        << name;
    ExpectNoCut(puzzle, table);
  };
  file.pieces = 47;
  expectCorrupt("count.saw");
  file.pieces = 48;
  {
    FailingCutScope failing(1);
    expectCorrupt("failed.saw");
    EXPECT_EQ(cutCalls, 1);
  }
  file.pieceSize = 0;
  expectCorrupt("size.saw");
  file.pieceSize = 25;
  file.decodedSize = QSize(100, 150);
  expectCorrupt("picture.saw");
}

// Newer and outdated files are refused with their messages, also the animation a jigsaw file
// names; one that is missing is reported by its own path.
TEST(PuzzlePreparationTest, VersionsAndRecordedAnimations) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  readers.jigsaw.fileVersion = 2;
  {
    Prompt::Double prompts;
    Puzzle puzzle(ScratchPath("new.jig"));
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
    EXPECT_TRUE(Shown(prompts, QStringLiteral("requires an updated version")));
    EXPECT_FALSE(puzzle.IsValid());
  }
  readers.jigsaw.fileVersion = 1;
  readers.jigsaw.mediaPath = ScratchPath("gone.qvp");
  const auto openAnimated = [](int status, int version) {
    PuzzleFileReaders::SetAnimatedOpener([status, version](const QString&) {
      auto reader = std::make_unique<FakeAnimatedReader>();
      reader->status = status;
      reader->version = version;
      return reader;
    });
  };
  for (int status : {int(pfsNotFound), int(pfsCorrupt)}) {
    openAnimated(status, 1);
    Prompt::Double prompts;
    Puzzle puzzle(ScratchPath("media.jig"));
    EXPECT_FALSE(puzzle.Prepare(&table, nullptr));
    EXPECT_TRUE(Shown(prompts, QStringLiteral("File \"") + readers.jigsaw.mediaPath +
                                   (status == pfsNotFound ? QStringLiteral("\" could not be found.")
                                                          : CorruptText)));
  }
  // The animation a jigsaw file names is held to the same versions as one opened itself.
  for (const char* name : {"movie.qvp", "media.jig"})
    for (int version : {0, 3}) {
      openAnimated(pfsReady, version);
      Prompt::Double prompts;
      Puzzle puzzle(ScratchPath(name));
      EXPECT_FALSE(puzzle.Prepare(&table, nullptr)) << name;
      EXPECT_TRUE(Shown(prompts, version == 0 ? QStringLiteral("is outdated")
                                              : QStringLiteral("requires an updated version"))) << name;
      EXPECT_FALSE(puzzle.IsValid());
      if (QString::fromLatin1(name).endsWith(QLatin1String(".jig"))) {
        EXPECT_FALSE(puzzle.GetAnimatedFile());
      }
    }
  PuzzleFileReaders::SetAnimatedOpener({});
}

// A saved game from a larger table gets the main window as saved when this screen is large
// enough, else maximised, and fails silently when its groups still cannot lie on the table;
// groups that do not fit even so are reported. A restored game has its groups and its mini
// table back.
TEST(PuzzlePreparationTest, SavedGameLayouts) {
  FakeTable table({1000, 800});
  ReaderScope readers;
  FakeJigsawReader& file = readers.jigsaw;
  SaveGameOf48(file);
  file.activeMini = 2;
  const auto prepare = [&](const QStringList& layout, bool ready, const QString& shown) {
    Prompt::Double prompts;
    table.layout.clear();
    Puzzle puzzle(ScratchPath("layout.saw"));
    EXPECT_EQ(puzzle.Prepare(&table, nullptr), ready);
    EXPECT_EQ(table.layout, layout);
    EXPECT_EQ(Shown(prompts, shown), !shown.isEmpty());
    EXPECT_TRUE(puzzle.IsValid());
    table.pieces.DeleteAll();
  };
  prepare({"mini 2"}, true, {});
  EXPECT_EQ(*file.groupsRebuilt, 1);
  file.savedTable = QSize(1200, 700);
  file.savedBounds = QRect(1, 2, 300, 400);
  prepare({"place 1,2 300x400", "mini 2"}, true, {});
  file.savedMaximized = true;
  prepare({"maximize", "mini 2"}, true, {});
  file.savedScreen = QSize(1920, 1080);
  file.largestGroup = QSize(1100, 100);
  prepare({"maximize"}, false, {});
  file.savedTable = QSize(100, 100);
  prepare({}, false, QStringLiteral("not large enough to hold"));
  EXPECT_EQ(*file.groupsRebuilt, 3);
}

// A saved game starts with its own bevel whatever the settings say; anything else as the
// settings say.
TEST(PuzzlePreparationTest, BevelStartsAsSavedOrAsSet) {
  Prompt::Double prompts;
  FakeTable table({1000, 800});
  ProgSettings& settings = *Settings();
  const bool keptLight = settings.DefaultToLightBevel, keptOff = settings.DefaultToBevelOff;
  const auto prepare = [&](const QString& path, bool on, bool light) {
    Puzzle puzzle(path);
    puzzle.SetPieceSize(25);
    ASSERT_TRUE(puzzle.Prepare(&table, nullptr)) << qPrintable(path);
    EXPECT_EQ(puzzle.GetBevel()->IsBevelOn(), on) << qPrintable(path);
    EXPECT_EQ(puzzle.GetBevel()->Light(), light) << qPrintable(path);
    table.pieces.DeleteAll();
  };
  settings.DefaultToLightBevel = true;
  {
    ReaderScope readers;
    SaveGameOf48(readers.jigsaw);
    readers.jigsaw.bevelOn = false;
    prepare(ScratchPath("off.saw"), false, false);
    readers.jigsaw.bevelOn = true;
    readers.jigsaw.lightBevel = true;
    settings.DefaultToLightBevel = false;
    prepare(ScratchPath("light.saw"), true, true);
  }
  const QString picture = WritePicture("bevel.bmp", 200, 150);
  prepare(picture, true, false);
  settings.DefaultToLightBevel = true;
  prepare(picture, true, true);
  settings.DefaultToBevelOff = true;
  prepare(picture, false, false);
  settings.DefaultToLightBevel = keptLight;
  settings.DefaultToBevelOff = keptOff;
}
