// A game played on a window-less table, saved, and loaded onto another table comes back as it
// was: every piece, group, table and mini table, the clock, the hints, the bevel, the note,
// the music, the box cover and its window; saved again elsewhere it keeps its blocks.

#include "PuzzleOnTableTest.h"
#include "tests/puzzle/JigsawFileBuilder.h"

#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PictureFile.h"
#include "puzzle/PuzzleClock.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/SoundTrack.h"
#include "settings/ProgSettings.h"
#include "table/TablePlayback.h"

#include <QBuffer>
#include <QFile>
#include <map>
#include <set>
#include <utility>

using namespace JigsawFixtures;
using PuzzleFixtures::ScratchPath;

namespace {

struct PieceState {
  int table;  // -1: the main table, else the mini's index
  int x, y, rotation;
  std::set<int> groupMates;  // ids of the pieces in its group, itself included
  bool operator==(const PieceState&) const = default;
};

std::set<int> Mates(const PuzzleChip& piece, HeadlessTable& t) {
  std::set<int> mates;
  if (!piece.Group()) return mates;
  ChipList& list = t.surface.GetChipList();
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i)->Group() == piece.Group()) mates.insert(list.At(i)->Id());
  return mates;
}

std::map<int, PieceState> StateOf(HeadlessTable& t) {
  std::map<int, PieceState> state;
  ChipList& list = t.surface.GetChipList();
  for (int i = 0; i < list.Count(); ++i) {
    const PuzzleChip& p = *list.At(i);
    state[p.Id()] = {-1, p.TableX(), p.TableY(), p.Mask().Rotation(), Mates(p, t)};
  }
  for (auto& mini : t.minis)
    for (int i = 0; i < mini->Chips().Count(); ++i) {
      const PuzzleChip& p = *mini->Chips().At(i);
      state[p.Id()] = {mini->Index(), 0, 0, p.Mask().Rotation(), {}};
    }
  return state;
}

// Plays the game without its track, as when the track could not be loaded.
class SilentPlayback : public StillPlayback {
public:
  void LoadJigsawTrack(Puzzle&) override {}
};

class ManualTicks {
public:
  ManualTicks() { PuzzleClock::SetTickSource([this] { return now; }); }
  ~ManualTicks() { PuzzleClock::SetTickSource({}); }
  std::uint32_t now = 1000;
};

QByteArray Music(Puzzle& puzzle) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  return puzzle.GetJigsawFile()->CopySoundTrack(buffer) ? buffer.data() : QByteArray();
}

}  // namespace

class SavedGameRoundTripTest : public PuzzleOnTableTest {};

TEST_F(SavedGameRoundTripTest, AGameSavedMidPlayComesBackWhole) {
  ManualTicks ticks;
  Settings()->IsolateEdges = true;
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("saved game.bmp"), 240, 160));
  content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("saved cover.jpg"), 32, 24));
  content.hintLimit = 5;
  content.note = "{\\rtf1 A note.}";
  content.music = TinyWave();
  content.musicIsMidi = false;
  const QString jig = ScratchPath("still for saving.jig");
  ASSERT_TRUE(JigsawFile::SaveStillPuzzle(jig, content));

  std::map<int, PieceState> played;
  const QString saw = ScratchPath("mid play.saw");
  {
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(jig);
    puzzle->SetPieceSize(40);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    ChipList& list = t.surface.GetChipList();
    PuzzleChip* a = nullptr;
    for (int i = 0; i < list.Count() && !a; ++i)
      if (PuzzleChip* right = list.At(i)->Neighbour(ChipSide::Right); right && list.Contains(right)) a = list.At(i);
    ASSERT_TRUE(a);
    PuzzleChip* b = a->Neighbour(ChipSide::Right);
    a->Merge(b);
    // As a release does: the group's box is the box of its pieces.
    const QRect box = QRect(a->TableX(), a->TableY(), a->Mask().TableWidth(), a->Mask().TableHeight())
                          .united(QRect(b->TableX(), b->TableY(), b->Mask().TableWidth(), b->Mask().TableHeight()));
    a->Group()->SetBounds(400, 300, true, box.left(), box.top(), box.right(), box.bottom());
    PuzzleChip* loose = nullptr;
    for (int i = 0; i < list.Count() && !loose; ++i)
      if (!list.At(i)->Group()) loose = list.At(i);
    ASSERT_TRUE(loose);
    loose->Place(90, false, true, true, 100, 80);
    puzzle->UseHint();
    puzzle->SetBevelLight(true);
    ticks.now += 65'400;
    played = StateOf(t);
    ASSERT_GT(t.minis[1]->Chips().Count(), 0);
    const SavedWindowState window{QRect(10, 20, 800, 600), false, BoxCoverWindowPlace{true, 5, 6, 1}};
    ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, window));
    EXPECT_EQ(puzzle->GetSavedPath(), saw);
    puzzle.reset();
  }

  const auto load = [&](const QString& path, HeadlessTable& t, TablePlayback* playback) {
    t.surface.SetPlayback(playback);
    puzzle = std::make_unique<Puzzle>(path);
    return t.surface.LoadPuzzle(puzzle.get());
  };
  {
    // The music starts with the game and stops and starts with the window.
    const bool welcome = std::exchange(Settings()->ShowWelcome, false);
    HeadlessTable t(400, 300);
    ASSERT_TRUE(load(saw, t, nullptr));
    Settings()->ShowWelcome = welcome;
    ASSERT_TRUE(SoundTrack::Current());
    EXPECT_TRUE(SoundTrack::Current()->IsPlaying());
    t.surface.Suspend(true);
    EXPECT_FALSE(SoundTrack::Current()->IsPlaying());
    Settings()->ShowWelcome = false;
    t.surface.Resume(true);
    Settings()->ShowWelcome = welcome;
    EXPECT_TRUE(SoundTrack::Current()->IsPlaying());
    EXPECT_EQ(StateOf(t), played);
    EXPECT_EQ(puzzle->GetElapsedSeconds(), 65);
    EXPECT_EQ(puzzle->GetHintsUsed(), 1);
    EXPECT_EQ(puzzle->GetHintLimit(), 5);
    EXPECT_TRUE(puzzle->IsBevelOn());
    EXPECT_TRUE(puzzle->IsBevelLight());
    ASSERT_TRUE(puzzle->GetNoteStream());
    EXPECT_EQ(*puzzle->GetNoteStream(), content.note);
    EXPECT_EQ(Music(*puzzle), content.music);
    EXPECT_TRUE(puzzle->GetJigsawFile()->HasSoundTrack());
    const auto cover = puzzle->GetBoxCover();
    ASSERT_TRUE(cover);
    EXPECT_EQ(QSize(cover->width, cover->height), QSize(32, 24));
    const BoxCoverWindowPlace place = puzzle->GetJigsawFile()->SavedBoxCoverWindow();
    EXPECT_EQ(QRect(place.left, place.top, place.shown, place.state), QRect(6, 5, 1, 1));
    EXPECT_EQ(puzzle->GetJigsawFile()->SavedWindowBounds(), QRect(10, 20, 800, 600));
    puzzle.reset();
  }

  // Saved again elsewhere, without the track loaded: the blocks, the music included, go with
  // every later save, also once the first file is gone.
  const QString again = ScratchPath("saved again.saw"), third = ScratchPath("third.saw");
  {
    SilentPlayback silent;
    HeadlessTable t(400, 300);
    ASSERT_TRUE(load(saw, t, &silent));
    ASSERT_TRUE(JigsawFile::SaveFile(again, *puzzle, {}));
    ASSERT_TRUE(QFile::remove(saw));
    ASSERT_TRUE(JigsawFile::SaveFile(third, *puzzle, {}));
    puzzle.reset();
  }
  HeadlessTable t(400, 300);
  ASSERT_TRUE(load(third, t, nullptr));
  EXPECT_EQ(StateOf(t), played);
  EXPECT_EQ(Music(*puzzle), content.music);
  EXPECT_EQ(*puzzle->GetNoteStream(), content.note);
  puzzle.reset();
}
