// A game in play does not depend on the file it was opened from: deleted or rewritten in place
// with another picture right after opening, the picture, the cut and every save stay what the
// file held when it was opened, for a picture, a still puzzle, a saved game and an animated
// puzzle.

#include "PuzzleOnTableTest.h"
#include "QvpWriter.h"
#include "tests/puzzle/JigsawFileBuilder.h"

#include "puzzle/JigsawFile.h"
#include "puzzle/PictureFile.h"
#include "puzzle/PuzzleChip.h"
#include "table/TablePlayback.h"

#include <QBuffer>
#include <QFile>

#include <cstring>
#include <functional>

using namespace JigsawFixtures;
using PuzzleFixtures::ScratchPath;

namespace {

// The track is not loaded: a save copies the music from the file's bytes.
class SilentPlayback : public StillPlayback {
public:
  void LoadJigsawTrack(Puzzle&) override {}
};

bool Rewrite(const QString& path, const QByteArray& bytes) {
  QFile file(path);  // in place: the same file, truncated and written again
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Copied(const std::function<bool(QIODevice&)>& copy) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  return copy(buffer) ? buffer.data() : QByteArray("(not copied)");
}

QByteArray SavedPicture(const QString& saw) {
  JigsawFile file(saw);
  return Copied([&](QIODevice& to) { return file.CopyPicture(to); });
}

bool SamePixels(const VirtualBuffer* a, const VirtualBuffer& b) {
  if (!a || a->width != b.width || a->height != b.height) return false;
  for (int y = 0; y < a->height; ++y)
    if (std::memcmp(a->Row(y), b.Row(y), std::size_t(a->width) * 4) != 0) return false;
  return true;
}

enum class Fate { Deleted, Rewritten };
const char* Name(Fate fate) { return fate == Fate::Deleted ? "deleted" : "rewritten"; }
// Before the cut the picture must still be the one opened; during play only saves read it.
enum class When { BeforeTheCut, DuringPlay };
const char* Name(When when) { return when == When::BeforeTheCut ? "before the cut" : "during play"; }

// What becomes of the source: gone, or another file of another size under its name.
bool Befall(Fate fate, const QString& path, const QByteArray& other) {
  return fate == Fate::Deleted ? QFile::remove(path) : Rewrite(path, other);
}

}  // namespace

class SourceFileGoneTest : public PuzzleOnTableTest {
protected:
  // A piece moved to (x, y): the change a later save must keep.
  static int MoveAPiece(HeadlessTable& t, int x, int y) {
    PuzzleChip* piece = t.surface.GetChipList().At(0);
    piece->Place(piece->Mask().Rotation(), false, true, true, x, y);
    return piece->Id();
  }

  // The saved game loaded on a table of its own has that piece at (x, y).
  void ExpectPieceAt(const QString& saw, int id, int x, int y) {
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(saw);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get())) << saw.toStdString();
    ChipList& list = t.surface.GetChipList();
    const PuzzleChip* found = nullptr;
    for (int i = 0; i < list.Count(); ++i)
      if (list.At(i)->Id() == id) found = list.At(i);
    ASSERT_TRUE(found) << saw.toStdString();
    EXPECT_EQ(QPoint(found->TableX(), found->TableY()), QPoint(x, y)) << saw.toStdString();
    puzzle.reset();
  }

  // A picture deleted or rewritten after opening: the cut is made from the picture as it
  // was, and the first save, a save elsewhere after a move and a save over the first all copy
  // the picture's original bytes.
  void PictureCase(const QString& name, Fate fate, When when) {
    const QString path = PuzzleFixtures::WritePicture(name, 160, 120);
    const QByteArray original = ReadAll(path);
    const QByteArray other = ReadAll(PuzzleFixtures::WritePicture(QStringLiteral("other-") + name, 90, 200));
    const auto expected = PictureFile::DecodeBytes(original, PictureFile::FormatOf(path), QStringLiteral("expected"));
    ASSERT_TRUE(expected);
    const QString first = ScratchPath("picture first.saw"), second = ScratchPath("picture second.saw");
    int id = 0;
    {
      HeadlessTable t(400, 300);
      puzzle = std::make_unique<Puzzle>(path);
      puzzle->SetPieceSize(40);
      if (when == When::BeforeTheCut) {
        ASSERT_TRUE(Befall(fate, path, other));
      }
      ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
      EXPECT_TRUE(SamePixels(puzzle->GetImage(false), *expected));
      ASSERT_TRUE(JigsawFile::SaveFile(first, *puzzle, {}));
      if (when == When::DuringPlay) {
        ASSERT_TRUE(Befall(fate, path, other));
      }
      // What the box cover, thumbnail and printout show is the picture opened too.
      EXPECT_EQ(puzzle->LoadPicture(), PictureFile::ToImage(*expected));
      EXPECT_EQ(puzzle->MakeThumbnail(80).size(), QSize(80, 60));
      id = MoveAPiece(t, 30, 40);
      ASSERT_TRUE(JigsawFile::SaveFile(second, *puzzle, {}));
      ASSERT_TRUE(JigsawFile::SaveFile(first, *puzzle, {}));
      EXPECT_TRUE(prompts.Shown().isEmpty());
      t.surface.UnloadPuzzle();
      puzzle.reset();
    }
    EXPECT_EQ(SavedPicture(first), original);
    EXPECT_EQ(SavedPicture(second), original);
    ExpectPieceAt(second, id, 30, 40);
    ExpectPieceAt(first, id, 30, 40);
  }

  // A still puzzle deleted or replaced by another after opening: its picture is the one
  // opened, and its picture, box cover, note and music (never loaded, so copied from what was
  // read) go into the save as they were.
  void StillPuzzleCase(const StillPuzzleContent& content, const QString& other, Fate fate, When when) {
    const QString jig = ScratchPath("still gone.jig"), saw = ScratchPath("still gone.saw");
    ASSERT_TRUE(JigsawFile::SaveStillPuzzle(jig, content));
    {
      SilentPlayback silent;
      HeadlessTable t(400, 300);
      t.surface.SetPlayback(&silent);
      puzzle = std::make_unique<Puzzle>(jig);
      puzzle->SetPieceSize(40);
      if (when == When::BeforeTheCut) {
        ASSERT_TRUE(Befall(fate, jig, ReadAll(other)));
      }
      ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
      if (when == When::DuringPlay) {
        ASSERT_TRUE(Befall(fate, jig, ReadAll(other)));
      }
      const auto expected =
          PictureFile::DecodeBytes(content.picture, PictureFile::Jpeg, QStringLiteral("expected"));
      EXPECT_TRUE(SamePixels(puzzle->GetImage(false), *expected));
      EXPECT_EQ(puzzle->LoadPicture(), PictureFile::ToImage(*expected));
      const auto cover = puzzle->GetBoxCover();
      ASSERT_TRUE(cover);
      EXPECT_EQ(QSize(cover->width, cover->height), QSize(32, 24));
      ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, {}));
      EXPECT_TRUE(prompts.Shown().isEmpty());
      t.surface.UnloadPuzzle();
      puzzle.reset();
    }
    JigsawFile saved(saw);
    ASSERT_EQ(saved.Status(), pfsReady);
    EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopyPicture(to); }), content.picture);
    EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopyBoxCover(to); }), content.cover);
    EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopySoundTrack(to); }), content.music);
    ASSERT_TRUE(saved.GetNoteStream());
    EXPECT_EQ(*saved.GetNoteStream(), content.note);
  }
};

TEST_F(SourceFileGoneTest, APictureGoneOrChangedAfterOpeningIsStillTheOneCutAndSaved) {
  for (const char* name : {"gone.jpg", "gone.bmp"})
    for (Fate fate : {Fate::Deleted, Fate::Rewritten})
      for (When when : {When::BeforeTheCut, When::DuringPlay}) {
        SCOPED_TRACE(std::string(name) + ", " + Name(fate) + " " + Name(when));
        PictureCase(QString::fromLatin1(name), fate, when);
        prompts.Clear();
      }
}

TEST_F(SourceFileGoneTest, AStillPuzzleGoneOrChangedSavesItsOwnBlocks) {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("still picture.jpg"), 160, 120));
  content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("still cover.bmp"), 32, 24));
  content.note = "{\\rtf1 Kept.}";
  content.music = TinyWave();
  content.musicIsMidi = false;
  StillPuzzleContent another;
  another.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("another.bmp"), 60, 200));
  const QString other = ScratchPath("another.jig");
  ASSERT_TRUE(JigsawFile::SaveStillPuzzle(other, another));
  for (Fate fate : {Fate::Deleted, Fate::Rewritten})
    for (When when : {When::BeforeTheCut, When::DuringPlay}) {
      SCOPED_TRACE(std::string(Name(fate)) + " " + Name(when));
      StillPuzzleCase(content, other, fate, when);
      prompts.Clear();
    }
}

// A saved game overwritten by another game after opening, saved over itself (as Save does)
// and then elsewhere once that is gone: both saves hold the blocks it was opened with, and the
// game comes back with the move.
TEST_F(SourceFileGoneTest, ASavedGameChangedUnderItSavesOverItselfAndElsewhere) {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("game picture.bmp"), 160, 120));
  content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("game cover.jpg"), 32, 24));
  content.music = TinyWave(400);
  content.musicIsMidi = false;
  const QString jig = ScratchPath("game source.jig"), saw = ScratchPath("game.saw"), elsewhere = ScratchPath("game elsewhere.saw");
  ASSERT_TRUE(JigsawFile::SaveStillPuzzle(jig, content));
  {
    HeadlessTable t(400, 300);
    puzzle = std::make_unique<Puzzle>(jig);
    puzzle->SetPieceSize(40);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, {}));
    t.surface.UnloadPuzzle();
    puzzle.reset();
  }
  int id = 0;
  {
    SilentPlayback silent;
    HeadlessTable t(400, 300);
    t.surface.SetPlayback(&silent);
    puzzle = std::make_unique<Puzzle>(saw);
    ASSERT_TRUE(Rewrite(saw, ReadAll(jig)));  // another file, far shorter than the game
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    id = MoveAPiece(t, 50, 60);
    ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, {}));
    ASSERT_TRUE(QFile::remove(saw));
    ASSERT_TRUE(JigsawFile::SaveFile(elsewhere, *puzzle, {}));
    EXPECT_TRUE(prompts.Shown().isEmpty());
    t.surface.UnloadPuzzle();
    puzzle.reset();
  }
  JigsawFile saved(elsewhere);
  ASSERT_EQ(saved.Status(), pfsReady);
  EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopyPicture(to); }), content.picture);
  EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopyBoxCover(to); }), content.cover);
  EXPECT_EQ(Copied([&](QIODevice& to) { return saved.CopySoundTrack(to); }), content.music);
  ExpectPieceAt(elsewhere, id, 50, 60);
}

// An animated puzzle deleted or rewritten with another picture during play: a save after a
// move still succeeds and carries the picture block it was opened with.
TEST_F(SourceFileGoneTest, AnAnimatedPuzzleGoneOrChangedStillSavesItsPicture) {
  for (Fate fate : {Fate::Deleted, Fate::Rewritten}) {
    SCOPED_TRACE(Name(fate));
    QvpWriter writer(160, 120);
    writer.AddClip(16, 16, 3, 0, 20, 30);
    const QString qvp = ScratchPath("animated gone.qvp"), saw = ScratchPath("animated gone.saw");
    ASSERT_TRUE(writer.Write(qvp));
    QvpWriter other(64, 200);
    other.header.pictureType = PictureFile::Bitmap;
    other.AddClip(8, 8, 1);
    {
      HeadlessTable t(400, 300);
      puzzle = std::make_unique<Puzzle>(qvp);
      puzzle->SetPieceSize(30);
      // Its frames are read while it loads: the file goes once the game is on the table.
      ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
      ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, {}));
      ASSERT_TRUE(Befall(fate, qvp, other.Bytes()));
      const auto expected = PictureFile::DecodeBytes(writer.picture, PictureFile::Jpeg, QStringLiteral("expected"));
      ASSERT_TRUE(expected);
      EXPECT_EQ(puzzle->LoadPicture(), PictureFile::ToImage(*expected));
      EXPECT_FALSE(puzzle->MakeThumbnail(80).isNull());
      MoveAPiece(t, 10, 20);
      ASSERT_TRUE(JigsawFile::SaveFile(saw, *puzzle, {}));
      EXPECT_TRUE(prompts.Shown().isEmpty());
      t.surface.UnloadPuzzle();
      puzzle.reset();
    }
    EXPECT_EQ(SavedPicture(saw), writer.picture);
    EXPECT_EQ(JigsawFile(saw).GetMediaPath(), qvp);
  }
}
