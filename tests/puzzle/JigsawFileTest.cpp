// The puzzle file reader against files the tests build, and the writers against the reader.

#include "JigsawFileBuilder.h"
#include "PuzzleFixtures.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PictureFile.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/SoundTrack.h"
#include "settings/ProgSettings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <tuple>

using namespace JigsawFixtures;
using PuzzleFixtures::ScratchPath;

namespace {

std::unique_ptr<JigsawFile> ReadBytes(const QByteArray& bytes, const QString& name = QStringLiteral("game.saw")) {
  const QString path = ScratchPath(name);
  WriteAll(path, bytes);
  return std::make_unique<JigsawFile>(path);
}

QByteArray Patched(QByteArray bytes, qint64 at, std::int32_t value) {
  qToLittleEndian(value, bytes.data() + at);
  return bytes;
}

QByteArray Copied(const std::function<bool(QIODevice&)>& copy) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  return copy(buffer) ? buffer.data() : QByteArray("copy failed");
}

bool SamePicture(const VirtualBuffer* a, const QByteArray& file, int format) {
  const auto b = PictureFile::DecodeBytes(file, format, QStringLiteral("expected"));
  if (!a || !b || a->width != b->width || a->height != b->height) return false;
  for (int y = 0; y < a->height; ++y)
    if (std::memcmp(a->Row(y), b->Row(y), std::size_t(a->width) * 4) != 0) return false;
  return true;
}

}  // namespace

// Every record type the program writes comes back in its own field; blocks, pieces and groups
// come back byte for byte.
TEST(JigsawFileTest, EveryRecordTypeRoundTrips) {
  const FullGame& game = Game();
  const auto file = ReadBytes(game.bytes);
  ASSERT_EQ(file->Status(), pfsReady);
  const JigsawFile& f = *file;
  const struct {
    int type;
    qint64 got, expected;
  } rows[] = {
      {2, f.PictureFormat(), 2}, {4, f.BoxCoverFormat(), 3}, {6, f.BoxCoverAvailable(), 1},
      {7, f.HintLimit(), 8}, {8, f.UprightOffered(), 0}, {9, f.PieceCount(), 12},
      {11, f.SavedMaximized(), 1}, {12, f.SavedWindowBounds().width(), 900}, {12, f.SavedTableSize().width(), 640},
      {13, f.SavedWindowBounds().height(), 700}, {13, f.SavedTableSize().height(), 480},
      {14, f.PieceSize(), 12}, {17, f.LargestGroupExtent().width(), 50}, {18, f.LargestGroupExtent().height(), 40},
      {19, f.SavedScreenSize().width(), 1920}, {20, f.SavedScreenSize().height(), 1080},
      {21, f.SavedWindowBounds().left(), 33}, {22, f.SavedWindowBounds().top(), 44},
      {23, f.PlayWidth(), 48}, {24, f.PlayHeight(), 36}, {25, f.Joins(), 5}, {27, f.SaveDate(), 36526},
      {28, f.ActiveMini(), 1}, {29, f.Record29(), 1}, {30, f.FileVersion(), 1}, {36, f.HintsUsed(), 3},
      {37, f.ElapsedSeconds(), 3725}, {38, f.LightBevel(), 1}, {39, f.BevelOn(), 1}, {41, f.WrittenBy(), 2004},
      {44, f.SoundSize(), game.music.size()}, {46, f.SoundKind(), 2}, {48, f.SavedBoxCoverWindow().shown, 1},
      {49, f.SavedBoxCoverWindow().top, 120}, {50, f.SavedBoxCoverWindow().left, 130},
      {51, f.SavedBoxCoverWindow().state, 1}, {52, f.NoteHiddenUntilSolved(), 1}, {53, f.NoteShownWhenSolved(), 1},
      {54, f.SaveTime(), 0}, {0, f.PictureWidth(), 48}, {0, f.BoxCoverWidth(), 20}, {0, f.HasUnknownContent(), 0},
      {0, f.IsSavedGame(), 1}, {0, f.SavedWindowWidth(800, 600), 840}, {0, f.SavedWindowHeight(800, 600), 800}};
  for (const auto& row : rows) EXPECT_EQ(row.got, row.expected) << "record " << row.type;
  EXPECT_FLOAT_EQ(f.Scale(), 1.0f);
  EXPECT_EQ(f.GetMediaPath(), QString());
  ASSERT_TRUE(f.GetNoteStream());
  EXPECT_EQ(*f.GetNoteStream(), game.note);
  EXPECT_EQ(Copied([&](QIODevice& to) { return file->CopyPicture(to); }), game.picture);
  EXPECT_EQ(Copied([&](QIODevice& to) { return file->CopyBoxCover(to); }), game.cover);
  EXPECT_EQ(Copied([&](QIODevice& to) { return file->CopySoundTrack(to); }), game.music);
  EXPECT_TRUE(SamePicture(file->GetPicture().get(), game.picture, PictureFile::Bitmap));
  EXPECT_TRUE(SamePicture(file->GetPreviewBuffer().get(), game.cover, PictureFile::Jpeg));
  ASSERT_EQ(f.GroupRecords().size(), game.groups.size());
  for (std::size_t i = 0; i < game.groups.size(); ++i) EXPECT_EQ(f.GroupRecords()[i].Bytes(), game.groups[i].Bytes());
  for (std::size_t i = game.pieces.size(); i-- > 0;) {
    const auto piece = file->PopPieceRecord();
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->Bytes(), game.pieces[i].Bytes()) << "piece " << i;
  }
  EXPECT_FALSE(file->PopPieceRecord());
}

// How values are read: the last of a type wins (but the first window size is kept), short
// integers are zero-extended, short piece records keep their size unknown, long ones and
// unknown types are skipped and marked, a file may lack the marker, extensions are compared
// without regard to case, and older note records win over newer ones.
TEST(JigsawFileTest, RecordsAreReadAsLaidOut) {
  ChipRecord piece, longer;
  piece.pieceId = 3;
  longer.pieceId = 4;
  longer.tableWidth = 21;
  JigsawFileBuilder file(false);
  file.Short(7, 1, 5).Int(9, 4).Int(9, 6).Raw(15, piece.Bytes().left(20)).Raw(15, longer.Bytes() + QByteArray(6, 'x'));
  file.Block(31, 32, "older note").Block(42, 43, "newer note");
  const auto read = ReadBytes(file.Finish(), QStringLiteral("STILL.JIG"));
  ASSERT_EQ(read->Status(), pfsReady);
  EXPECT_FALSE(read->IsSavedGame());
  EXPECT_EQ(read->HintLimit(), 5);
  EXPECT_EQ(read->PieceCount(), 6);
  EXPECT_EQ(*read->GetNoteStream(), "older note");
  EXPECT_TRUE(read->HasUnknownContent());
  ASSERT_EQ(read->PieceRecords().size(), 2u);
  EXPECT_EQ(read->PieceRecords()[0].tableWidth, 0xFFFF);
  EXPECT_EQ(read->PieceRecords()[0].tableHeight, 0xFFFF);
  EXPECT_EQ(read->PieceRecords()[1].tableWidth, 21);
  JigsawFileBuilder unknown;
  unknown.Raw(26, "??");
  EXPECT_TRUE(ReadBytes(unknown.Finish())->HasUnknownContent());
  EXPECT_EQ(ReadBytes(file.Finish(), QStringLiteral("puzzle.bmp"))->Status(), pfsWrongKind);
  EXPECT_EQ(JigsawFile(ScratchPath("nowhere.saw")).Status(), pfsNotFound);
}

// A file cut short anywhere is refused, never read past its end.
TEST(JigsawFileTest, TruncatedFilesAreRefusedAtEveryLength) {
  const QByteArray& whole = Game().bytes;
  for (qsizetype length = 0; length < whole.size(); ++length) {
    const int status = ReadBytes(whole.left(length))->Status();
    EXPECT_TRUE(length < JigsawFile::SignatureSize ? status == pfsWrongKind : status == pfsCorrupt)
        << "length " << length << " status " << status;
  }
  EXPECT_EQ(ReadBytes(whole)->Status(), pfsReady);
}

// Every offset, size and count pushed out of range, every record that contradicts the rest,
// and a body that stops at a type 0 or 255 record, make the file corrupt.
TEST(JigsawFileTest, ValuesOutOfRangeMakeTheFileCorrupt) {
  const FullGame& game = Game();
  const std::int32_t size = std::int32_t(game.bytes.size());
  const std::vector<std::int32_t> offsets{0, 19, size, size - 1, -1, INT_MAX, INT_MIN};
  const std::vector<std::int32_t> sizes{size, -1, INT_MAX, INT_MIN};
  const std::map<int, std::vector<std::int32_t>> bad{
      {3, offsets}, {5, offsets}, {42, offsets}, {45, offsets}, {33, sizes}, {34, sizes}, {43, sizes},
      {44, sizes}, {9, {-1, INT_MIN, 21, 65536, 1509949464, INT_MAX}}, {25, {-1, 12, INT_MAX}}, {7, {-2, INT_MIN}}, {36, {-1, INT_MIN}},
      {37, {-1, INT_MIN}}, {23, {-1, 0, 40000, INT_MAX}}, {24, {-1, 0, 40000, INT_MAX}}};
  for (const auto& [type, values] : bad)
    for (const std::int32_t value : values)
      EXPECT_EQ(ReadBytes(Patched(game.bytes, game.valueAt.at(type), value))->Status(), pfsCorrupt)
          << "record " << type << " = " << value;

  // A play size is no larger than a table: the picture is scaled to it before anything
  // else looks at it.
  for (const auto& [width, height, status] : {std::tuple{4096, 4096, pfsCorrupt}, std::tuple{16384, 16384, pfsCorrupt},
                                              std::tuple{4096, 4095, pfsReady}}) {
    const QByteArray bytes = Patched(Patched(game.bytes, game.valueAt.at(23), width), game.valueAt.at(24), height);
    EXPECT_EQ(ReadBytes(bytes)->Status(), status) << width << " x " << height;
  }

  // Without a piece size to check against the grid, ids still bound the count.
  const QByteArray noPieceSize = Patched(game.bytes, game.valueAt.at(14), 0);
  EXPECT_EQ(ReadBytes(Patched(noPieceSize, game.valueAt.at(9), 65535))->Status(), pfsReady);
  EXPECT_EQ(ReadBytes(Patched(noPieceSize, game.valueAt.at(9), 65536))->Status(), pfsCorrupt);

  // Piece and group records: rotation, ids, group size, and records too short for their id.
  const qint64 piece = game.pieceRecordAt + 2, group = game.groupRecordAt + 2;
  const auto withShort = [&](qint64 at, std::uint16_t value) {
    QByteArray bytes = game.bytes;
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
  };
  const std::vector<std::pair<const char*, QByteArray>> broken{
      {"rotation 45", withShort(piece + 16, 45)},
      {"rotation 360", withShort(piece + 16, 360)},
      {"piece id twice", withShort(piece + 26 + 10, game.pieces[0].pieceId)},
      {"group id 0", withShort(group + 12, 0)},
      {"group id twice", withShort(group + 18 + 12, game.groups[0].id)},
      {"group width 0", withShort(group + 8, 0)},
      {"group height 0", withShort(group + 10, 0)},
      {"short piece record", withShort(piece - 1, 11)},
      {"short group record", withShort(group - 1, 13)},
      {"type 0 record", withShort(game.groupRecordAt, 0x0400)},
      {"type 255 record", withShort(game.groupRecordAt, 0x04FF)}};
  for (const auto& [what, bytes] : broken) EXPECT_EQ(ReadBytes(bytes)->Status(), pfsCorrupt) << what;
}

// A group too large for the table turns a quarter with its pieces; a group that cannot turn
// leaves every record as it was.
TEST(JigsawFileTest, GroupsTurnToFitOnlyWhenAllCan) {
  const auto file = ReadBytes(Game().bytes);
  ASSERT_EQ(file->Status(), pfsReady);
  const std::vector<ChipRecord> pieces = file->PieceRecords();
  const std::vector<ChipGroupRecord> groups = file->GroupRecords();
  // Group 7 (30 x 20) holds a piece at 0 degrees: it cannot turn.
  EXPECT_FALSE(file->FitGroupsByRotating(25, 40));
  for (std::size_t i = 0; i < pieces.size(); ++i) EXPECT_EQ(file->PieceRecords()[i].Bytes(), pieces[i].Bytes());
  EXPECT_TRUE(file->FitGroupsByRotating(30, 20));

  ChipRecord a = pieces[1], b = pieces[1];
  b.pieceId = 5;
  b.rotation = 270;
  b.groupOffsetX = 0;
  b.groupOffsetY = 6;
  JigsawFileBuilder turned;
  turned.Raw(16, ChipGroupRecord{0.5f, 0.5f, 30, 20, 7}.Bytes()).Raw(15, a.Bytes()).Raw(15, b.Bytes());
  const auto fit = ReadBytes(turned.Finish());
  ASSERT_EQ(fit->Status(), pfsReady);
  ASSERT_TRUE(fit->FitGroupsByRotating(25, 40));
  EXPECT_EQ(fit->GroupRecords()[0].width, 20);
  EXPECT_EQ(fit->GroupRecords()[0].height, 30);
  const ChipRecord& ta = fit->PieceRecords()[0];
  const ChipRecord& tb = fit->PieceRecords()[1];
  EXPECT_EQ(ta.rotation, 180);
  EXPECT_EQ(QPoint(ta.groupOffsetX, ta.groupOffsetY), QPoint(20 - 0 - 14, 12));
  EXPECT_EQ(tb.rotation, 0);
  EXPECT_EQ(QPoint(tb.groupOffsetX, tb.groupOffsetY), QPoint(20 - 6 - 14, 0));
  fit->RestoreGroups(400, 300);
  ASSERT_TRUE(ChipGroup::Find(7));
  EXPECT_TRUE(fit->GroupRecords().empty());
  ChipGroup::DeleteAll();
}

// The still-puzzle writer's file reads back with its picture, box cover, options, note and
// music; a still puzzle is fitted to the table with the coverage limit.
TEST(JigsawFileTest, StillPuzzleWriterRoundTrips) {
  StillPuzzleContent content;
  ASSERT_TRUE(content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("still.jpg"), 300, 200)));
  ASSERT_TRUE(content.ReadCover(PuzzleFixtures::WritePicture(QStringLiteral("still cover.bmp"), 30, 20)));
  content.includeBoxCover = false;
  content.allowUpright = false;
  content.minimumPieces = 24;
  content.pieceSize = 40;
  content.hintLimit = 6;
  content.lightBevel = true;
  content.note = "a note";
  content.noteShownWhenSolved = true;
  content.music = TinyMidi();
  const QString path = ScratchPath("written.jig");
  ASSERT_TRUE(JigsawFile::SaveStillPuzzle(path, content));
  FakeTable table(QSize(400, 300));
  const JigsawFile file(path);
  ASSERT_EQ(file.Status(), pfsReady);
  EXPECT_EQ(file.PictureFormat(), PictureFile::Jpeg);
  EXPECT_EQ(file.BoxCoverFormat(), PictureFile::Bitmap);
  EXPECT_EQ(QSize(file.BoxCoverWidth(), file.BoxCoverHeight()), QSize(30, 20));
  EXPECT_EQ(QSize(file.PictureWidth(), file.PictureHeight()), QSize(300, 200));
  EXPECT_FALSE(file.BoxCoverAvailable());
  EXPECT_FALSE(file.UprightOffered());
  EXPECT_EQ(file.PieceCount(), 24);
  EXPECT_EQ(file.PieceSize(), 40);
  EXPECT_EQ(file.HintLimit(), 6);
  EXPECT_TRUE(file.LightBevel());
  EXPECT_TRUE(file.BevelOn());
  EXPECT_EQ(*file.GetNoteStream(), "a note");
  EXPECT_FALSE(file.NoteHiddenUntilSolved());
  EXPECT_TRUE(file.NoteShownWhenSolved());
  EXPECT_EQ(file.SoundSize(), content.music.size());
  EXPECT_EQ(file.SoundKind(), 1);
  EXPECT_EQ(file.WrittenBy(), JigsawFile::WriterVersion);
  EXPECT_EQ(file.FileVersion(), 1);
  // 300 x 200 fits 400 x 300 with its margin, but covers 50 % of it: more than 20 % allowed.
  const int keep = Settings()->MaxTablePercentage;
  Settings()->MaxTablePercentage = 20;
  JigsawFile fitted(path);
  Settings()->MaxTablePercentage = keep;
  EXPECT_LE(std::int64_t(fitted.PlayWidth()) * fitted.PlayHeight() * 100, 20LL * 400 * 300 + 500 * 100);
  EXPECT_GT(fitted.PlayWidth(), 0);
  EXPECT_FLOAT_EQ(fitted.Scale(), float(fitted.PlayWidth()) / 300.0f);
  EXPECT_EQ(fitted.GetPicture()->width, fitted.PlayWidth());
}

// A save that cannot finish (the disk full, the folder not writable) leaves the old file as
// it was and says so.
TEST(JigsawFileTest, FailedSaveLeavesTheOldFile) {
  Prompt::Double prompts;
  StillPuzzleContent content;
  ASSERT_TRUE(content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("big.bmp"), 200, 200)));
  const QString path = ScratchPath("kept.jig");
  const QByteArray old = Game().bytes;
  WriteAll(path, old);

  const bool savedFull = PuzzleFixtures::WithFileSizeLimit(
      4096, [&] { return JigsawFile::SaveStillPuzzle(path, content); });
  EXPECT_FALSE(savedFull);
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(QFileInfo(path).path()).entryList({QStringLiteral("kept.jig.*"), QStringLiteral(".kept-*")}, QDir::Files | QDir::Hidden),
            QStringList());

  EXPECT_FALSE(JigsawFile::SaveStillPuzzle(path + QStringLiteral("/inside.jig"), content));
  ASSERT_EQ(prompts.Shown().size(), 2);
  for (const Prompt::Record& shown : prompts.Shown())
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Failed to save puzzle.\n\nJigsawFile::SaveFile - "))) << qPrintable(shown.text);
  EXPECT_TRUE(JigsawFile::SaveStillPuzzle(path, content));
  EXPECT_EQ(JigsawFile(path).Status(), pfsReady);
}

// A track takes exactly its bytes (a short source throws), the last looping track is the
// background track until it goes, and both kinds play on the dummy device.
TEST(JigsawFileTest, SoundTracksCopyPlayAndStop) {
  const QByteArray wave = TinyWave(16000);
  QBuffer source;
  source.setData(wave.left(100));
  source.open(QIODevice::ReadOnly);
  SoundTrackHeader header;
  header.loop = 1;
  header.length = std::uint32_t(wave.size());
  EXPECT_THROW(SoundTrack(source, header), std::runtime_error);
  header.midi = 1;
  source.seek(0);
  EXPECT_THROW(SoundTrack(source, header), std::runtime_error);

  Settings()->ShowWelcome = false;
  Settings()->EnableBackgroundSound = true;
  QBuffer waveSource, midiSource;
  waveSource.setData(wave);
  midiSource.setData(TinyMidi());
  waveSource.open(QIODevice::ReadOnly);
  midiSource.open(QIODevice::ReadOnly);
  header.midi = 0;
  auto first = std::make_unique<SoundTrack>(waveSource, header);
  header.midi = 1;
  header.length = std::uint32_t(TinyMidi().size());
  auto second = std::make_unique<SoundTrack>(midiSource, header);
  EXPECT_EQ(SoundTrack::Current(), second.get());
  for (SoundTrack* track : {first.get(), second.get()}) {
    EXPECT_EQ(Copied([&](QIODevice& to) { return track->WriteData(to); }), track->IsMidi() ? TinyMidi() : wave);
    track->Play();
    EXPECT_TRUE(track->IsPlaying()) << track->IsMidi();
    track->Stop();
    EXPECT_FALSE(track->IsPlaying());
  }
  second.reset();
  EXPECT_EQ(SoundTrack::Current(), nullptr);
  Settings()->ShowWelcome = true;
  first->Play();
  EXPECT_FALSE(first->IsPlaying());
}
