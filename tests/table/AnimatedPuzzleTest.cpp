// An animated puzzle end to end on a window-less table, through the real reader: its facts
// and failures, playback that changes only the table pixels showing clip regions, suspend and
// resume, a game saved mid-play and reopened, damaged and outdated files, and closing, which
// leaves no thread, no timer and no frame file.

#include "PuzzleOnTableTest.h"
#include "QvpWriter.h"

#include "TestEnvironment.h"
#include "Yelk/TempFiles.h"
#include "platform/MainThreadCalls.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PixelMap.h"
#include "table/Framer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <thread>

#include <unistd.h>
#include <vector>

using PuzzleFixtures::ScratchPath;
using std::chrono::milliseconds;

namespace {

constexpr int PictureW = 160, PictureH = 120;
const QRect ClipRects[] = {QRect(20, 30, 24, 16), QRect(100, 60, 16, 16)};

QvpWriter AnimatedPuzzle(int version = 2) {
  QvpWriter writer(PictureW, PictureH);
  writer.header.version = std::uint16_t(version);
  writer.note = "{\\rtf1 Moving water.}";
  writer.AddClip(24, 16, 5, 0, 20, 30);
  writer.AddClip(16, 16, 20, 1, 100, 60);  // streams through its buffers
  writer.AddClip(8, 8, 0);                 // no frames: never holds the others up
  return writer;
}

// Runs Qt's events and the playback's steps for a while.
void RunFor(milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  MainThreadCalls::WaitWhile([&] {
    QCoreApplication::processEvents();
    return std::chrono::steady_clock::now() < end;
  }, milliseconds(5));
}

std::vector<std::uint32_t> TablePixels(HeadlessTable& t) {
  const VirtualBuffer& table = *t.surface.TableBuffer();
  return {table.memory, table.memory + std::size_t(table.width) * table.height};
}

int FrameFiles() {
  return int(QDir(GetTempFileFolder()).entryList({"Jig*.tmp"}, QDir::Files).size());
}

int Threads() { return int(QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

// A joined thread leaves the process's task list a moment after the join returns: the
// count is read once it has come to what is expected, or after a few seconds.
int ThreadsOnceSettledAt(int expected) {
  for (int i = 0; i < 500 && Threads() != expected; ++i) std::this_thread::sleep_for(milliseconds(10));
  return Threads();
}

// The threads the process has of its own, a thread checker's helper included (it starts
// with the first thread a test starts), once the thread that woke it has gone.
int ThreadsBeforeTheTest() {
  pid_t helper = 0;
  std::thread([&helper] { helper = gettid(); }).join();
  const QString task = QStringLiteral("/proc/self/task/%1").arg(helper);
  for (int i = 0; i < 500 && QFileInfo::exists(task); ++i) std::this_thread::sleep_for(milliseconds(10));
  return Threads();
}

bool Shown(const Prompt::Double& prompts, const QString& part) {
  for (const auto& record : prompts.Shown())
    if (record.text.contains(part)) return true;
  return false;
}

}  // namespace

class AnimatedPuzzleTest : public PuzzleOnTableTest {
protected:
  // Frame files of this test alone, apart from those of tests running beside it.
  void SetUp() override {
    previousTemp = qgetenv("TMPDIR");
    const QString folder = TestEnvironment::ScratchFolder() + QStringLiteral("/temp");
    QDir().mkpath(folder);
    qputenv("TMPDIR", folder.toLocal8Bit());
  }
  void TearDown() override {
    PuzzleOnTableTest::TearDown();
    qputenv("TMPDIR", previousTemp);
  }
  QByteArray previousTemp;

  // Plays a while and checks that only table pixels showing clip regions changed, and that
  // some did; false when nothing changed.
  ::testing::AssertionResult PlaysInsideClips(HeadlessTable& t) {
    const PixelMap* map = puzzle->GetPixelMap();
    const VirtualBuffer& table = *t.surface.TableBuffer();
    std::vector<bool> inClip(std::size_t(table.width) * table.height);
    for (const QRect& r : ClipRects)
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          if (map->Row(y)[x] < inClip.size()) inClip[map->Row(y)[x]] = true;
    RunFor(milliseconds(150));
    const std::vector<std::uint32_t> before = TablePixels(t);
    // A loaded machine may take far longer than a frame step to deliver a frame: wait for a
    // change, checking every look that nothing outside the clips moved.
    for (int look = 0; look < 100; ++look) {
      RunFor(milliseconds(100));
      const std::vector<std::uint32_t> after = TablePixels(t);
      int changed = 0;
      for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i]) continue;
        if (!inClip[i]) return ::testing::AssertionFailure() << "table pixel " << i << " changed outside the clips";
        ++changed;
      }
      if (changed > 0 && look >= 4) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "nothing moved";
  }
};

TEST_F(AnimatedPuzzleTest, OpensPlaysPausesSavesReopensAndClosesCleanly) {
  const int threadsBefore = ThreadsBeforeTheTest(), filesBefore = FrameFiles();
  const QString qvp = ScratchPath("Rapids.QVP");
  QvpWriter writer = AnimatedPuzzle();
  ASSERT_TRUE(writer.Write(qvp));
  const QString saw = ScratchPath("rapids mid play.saw");
  {
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(qvp);
    EXPECT_EQ(QSize(PictureW, PictureH), puzzle->GetImageSize());
    EXPECT_EQ(QStringLiteral("Tessavinelume jigsaw puzzle"), puzzle->GetTypeName());
    ASSERT_TRUE(puzzle->GetNoteStream());
    EXPECT_EQ(writer.note, *puzzle->GetNoteStream());
    EXPECT_EQ(QSize(64, 48), puzzle->MakeThumbnail(64).size());
    puzzle->SetPieceSize(30);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    EXPECT_TRUE(t.host.calls.contains("load window animated"));
    EXPECT_EQ(filesBefore + 1, FrameFiles());
    EXPECT_FALSE(t.surface.IsStaticPicture());
    EXPECT_TRUE(PlaysInsideClips(t));

    // A repaint left to the playback (as the player's moves are) is presented by the next
    // step even when that step changes nothing, and only once.
    t.surface.Repaint(true, false, nullptr, TableSurface::GetDirtyRegions());
    const int presented = t.host.presents;
    t.surface.ShowIdleStep();
    t.surface.ShowIdleStep();
    EXPECT_EQ(presented + 1, t.host.presents);

    // Window activation holds the playback until the events are done, unless the window
    // is left meanwhile.
    t.surface.PauseUntilIdle();
    EXPECT_TRUE(t.surface.IsStaticPicture());
    QCoreApplication::processEvents();
    EXPECT_FALSE(t.surface.IsStaticPicture());
    t.surface.PauseUntilIdle();
    t.surface.Suspend(false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.surface.IsStaticPicture());
    t.surface.Resume(false);
    EXPECT_FALSE(t.surface.IsStaticPicture());

    // Suspended, nothing moves or is presented; resumed, it plays on.
    t.surface.Suspend(true);
    RunFor(milliseconds(100));
    const std::vector<std::uint32_t> paused = TablePixels(t);
    const int presents = t.host.presents;
    RunFor(milliseconds(300));
    EXPECT_EQ(paused, TablePixels(t));
    EXPECT_EQ(presents, t.host.presents);
    t.surface.Resume(true);
    EXPECT_TRUE(PlaysInsideClips(t));

    ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, SavedWindowState{}));
    puzzle.reset();  // stops the playback before its clips go
    EXPECT_EQ(filesBefore, FrameFiles());
    RunFor(milliseconds(100));
  }
  EXPECT_EQ(0, Framer::Count());
  EXPECT_FALSE(Framer::TimerRunning());
  {
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(saw);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    EXPECT_TRUE(PlaysInsideClips(t));
    t.surface.UnloadPuzzle();
    puzzle.reset();
  }
  EXPECT_EQ(filesBefore, FrameFiles());
  EXPECT_EQ(0, Framer::Count());
  EXPECT_FALSE(Framer::TimerRunning());
  EXPECT_EQ(0, MainThreadCalls::RunPending());
  EXPECT_EQ(threadsBefore, ThreadsOnceSettledAt(threadsBefore));
  EXPECT_TRUE(prompts.Shown().isEmpty()) << prompts.Shown().value(0).text.toStdString();
}

TEST_F(AnimatedPuzzleTest, DamagedMissingAndOutdatedFilesGiveTheirMessages) {
  const int filesBefore = FrameFiles();
  auto table = std::make_unique<HeadlessTable>(400, 300);
  HeadlessTable& t = *table;
  const auto open = [&](const QString& path) {
    prompts.Clear();
    puzzle = std::make_unique<Puzzle>(path);
    const bool loaded = puzzle->IsValid() && t.surface.LoadPuzzle(puzzle.get());
    t.surface.UnloadPuzzle();
    puzzle.reset();
    return loaded;
  };
  EXPECT_FALSE(open(ScratchPath("nowhere.qvp")));
  EXPECT_TRUE(Shown(prompts, "nowhere.qvp\" could not be found."));

  QvpWriter foreign = AnimatedPuzzle();
  foreign.Patch(TessavinelumeHeader::MakerAt, "X");
  ASSERT_TRUE(foreign.Write(ScratchPath("foreign.qvp")));
  EXPECT_FALSE(open(ScratchPath("foreign.qvp")));
  EXPECT_TRUE(Shown(prompts, "foreign.qvp\" is corrupt and can not be opened.  err=2"));

  QvpWriter corrupt = AnimatedPuzzle();
  corrupt.Patch(76, QByteArray("\x09\x00", 2));  // picture type
  ASSERT_TRUE(corrupt.Write(ScratchPath("corrupt.qvp")));
  EXPECT_FALSE(open(ScratchPath("corrupt.qvp")));
  EXPECT_TRUE(Shown(prompts, "corrupt.qvp\" is corrupt and can not be opened.  err=4"));

  // Versions 0 and 3, opened directly and through a saved game made when the file was fine.
  const QString qvp = ScratchPath("versions.qvp"), saw = ScratchPath("versions.saw");
  ASSERT_TRUE(AnimatedPuzzle().Write(qvp));
  puzzle = std::make_unique<Puzzle>(qvp);
  puzzle->SetPieceSize(30);
  ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
  ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, SavedWindowState{}));
  t.surface.UnloadPuzzle();
  puzzle.reset();
  for (const auto& [version, words] : {std::pair{0, "no longer supported"}, std::pair{3, "latest program version"}}) {
    ASSERT_TRUE(AnimatedPuzzle(version).Write(qvp));
    EXPECT_FALSE(open(qvp)) << version;
    EXPECT_TRUE(Shown(prompts, words)) << version;
    EXPECT_FALSE(open(saw)) << version;
    EXPECT_TRUE(Shown(prompts, words)) << "saved game, version " << version;
  }
  // A saved game whose animated file is gone names that file.
  ASSERT_TRUE(QFile::remove(qvp));
  EXPECT_FALSE(open(saw));
  EXPECT_TRUE(Shown(prompts, qvp + "\" could not be found."));
  table.reset();
  EXPECT_EQ(filesBefore, FrameFiles());
  EXPECT_EQ(0, Framer::Count());
}

// A saved game finds its animated file again whatever script the folders are named in, and
// when the path is too long for its record, through the saved game's own folder; when even
// that is too long, the save fails with its message and writes nothing.
TEST_F(AnimatedPuzzleTest, SavedGamesKeepTheAnimatedFilesPathExactly) {
  const QString deep = QStringLiteral("deep-%1/%1/%1/%1/%1").arg(QString(50, QLatin1Char('d')));
  const struct {
    const char* name;
    QString folder, savedIn;
    bool saves;
  } cases[] = {
      {"Cyrillic", ScratchPath(QStringLiteral("Загрузки")), ScratchPath(QStringLiteral("Загрузки")), true},
      {"Latin-1", ScratchPath(QStringLiteral("Téléchargés")), ScratchPath(QString()), true},
      {"Latin-1 that reads as UTF-8", ScratchPath(QStringLiteral("Ã©tÃ©")), ScratchPath(QString()), true},
      {"too long, saved beside it", ScratchPath(deep), ScratchPath(deep + QStringLiteral("/../Загрузки")), true},
      {"too long either way", ScratchPath(deep), ScratchPath(QString()), false},
  };
  for (const auto& c : cases) {
    const QString savedIn = QDir::cleanPath(c.savedIn);
    ASSERT_TRUE(QDir().mkpath(c.folder) && QDir().mkpath(savedIn)) << c.name;
    const QString qvp = QDir::cleanPath(c.folder + QStringLiteral("/Rapids.qvp"));
    const QString saw = savedIn + QStringLiteral("/Rapids.saw");
    QFile::remove(saw);
    ASSERT_TRUE(AnimatedPuzzle().Write(qvp)) << c.name;
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(qvp);
    puzzle->SetPieceSize(30);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get())) << c.name;
    prompts.Clear();
    EXPECT_EQ(JigsawFile::SaveFile(saw, *puzzle, SavedWindowState{}), c.saves) << c.name;
    t.surface.UnloadPuzzle();
    puzzle.reset();
    if (!c.saves) {
      EXPECT_TRUE(Shown(prompts, "Failed to save puzzle.\n\nJigsawFile::SaveFile - WriteTriplet: path too long.")) << c.name;
      EXPECT_FALSE(QFile::exists(saw)) << c.name;
      continue;
    }
    EXPECT_EQ(JigsawFile(saw).GetMediaPath(), qvp) << c.name;
  }
}
