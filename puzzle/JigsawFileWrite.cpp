// Writing puzzle files: a saved game of the puzzle being played, and a new still puzzle. The
// file is built whole in memory and then written beside the target under another name, which
// replaces the target only once every byte is on disk: a failed save leaves the old file.

#include "JigsawFile.h"

#include "AnimatedFileReader.h"
#include "ChipGroup.h"
#include "JigsawStream.h"
#include "MiniHost.h"
#include "PictureFile.h"
#include "Puzzle.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "StoredPath.h"
#include "Yelk/HourGlass.h"
#include "Yelk/Prompt.h"
#include "Yelk/ReplacingFile.h"
#include "Yelk/TMsgLog.h"

#include <QDate>
#include <QFileInfo>

#include <stdexcept>

namespace {

constexpr int GroupMargin = 20;

[[noreturn]] void Fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

// An i32 record written as 0 whose value is set once its block is written.
qint64 Placeholder(JigsawStream& stream, int type) {
  stream.WriteTriplet(type, 0);
  return stream.size() - 4;
}

void Begin(JigsawStream& stream) {
  stream.Append(QByteArray(JigsawFile::Signature, JigsawFile::SignatureSize));
  stream.WriteByteTriplet(255, 1);
}

// Runs write at the end of the stream and patches the block's offset (and size) records.
template <class Write>
std::pair<qint64, qint64> AppendBlock(JigsawStream& stream, qint64 offsetAt, qint64 sizeAt, Write write,
                                      const char* what) {
  const qint64 start = stream.size();
  stream.seek(start);
  if (!write(static_cast<QIODevice&>(stream))) Fail(QStringLiteral("the %1 could not be copied").arg(QLatin1String(what)));
  const qint64 size = stream.size() - start;
  if (start > INT32_MAX || size > INT32_MAX) Fail(QStringLiteral("the file grows too large"));
  stream.Patch(offsetAt, std::int32_t(start));
  if (sizeAt >= 0) stream.Patch(sizeAt, std::int32_t(size));
  return {start, size};
}

void WriteInPlace(const QString& path, const QByteArray& bytes) {
  QString reason;
  if (!ReplacingFile::Replace(path, bytes, &reason)) Fail(QStringLiteral("can not write ") + path + QStringLiteral(": ") + reason);
}

bool IsPicture(const QByteArray& bytes, int format) {
  return !bytes.isEmpty() && (format == PictureFile::Bitmap || format == PictureFile::Jpeg);
}

bool WriteBytes(QIODevice& stream, const QByteArray& bytes) { return stream.write(bytes) == bytes.size(); }

void ReportSaveFailure(const std::exception& error) {
  const QString line = QStringLiteral("JigsawFile::SaveFile - ") + QString::fromUtf8(error.what());
  TMsgLog::Add(line);
  Prompt::ShowApp(QStringLiteral("Failed to save puzzle.\n\n") + line, Prompt::Stop);
}

int TodayNumber() { return int(QDate(1899, 12, 30).daysTo(QDate::currentDate())); }

// Records 14 to 53 of a saved game: the cut, the layout, the counts, the clock and options.
void WriteGameRecords(JigsawStream& stream, Puzzle& puzzle, const SavedWindowState& window,
                      const JigsawFileReader* source) {
  const PuzzleTable* table = PuzzleTable::Current();
  const MiniHost* minis = MiniHost::Current();
  const QSize screen = table ? table->ScreenSize() : QSize();
  const QSize groups = ChipGroup::MaxExtent();
  stream.WriteTriplet(14, puzzle.GetPieceSize());
  stream.WriteByteTriplet(11, window.maximised ? 1 : 0);
  stream.WriteTriplet(12, window.mainWindow.width());
  stream.WriteTriplet(13, window.mainWindow.height());
  stream.WriteByteTriplet(6, source ? source->BoxCoverAvailable() : 1);
  stream.WriteTriplet(9, puzzle.GetPieceCount());
  stream.WriteTriplet(12, table ? table->GetWidth() : 0);
  stream.WriteTriplet(13, table ? table->GetHeight() : 0);
  stream.WriteTriplet(17, groups.width() + GroupMargin);
  stream.WriteTriplet(18, groups.height() + GroupMargin);
  stream.WriteTriplet(19, screen.width());
  stream.WriteTriplet(20, screen.height());
  stream.WriteTriplet(21, window.mainWindow.left());
  stream.WriteTriplet(22, window.mainWindow.top());
  stream.WriteTriplet(25, puzzle.GetJoins());
  stream.WriteTriplet(27, TodayNumber());
  stream.WriteTriplet(54, 0);
  stream.WriteByteTriplet(28, minis && minis->ActiveMiniIndex() >= 0 ? std::uint8_t(minis->ActiveMiniIndex()) : 0xFF);
  stream.WriteTriplet(7, puzzle.GetHintLimit());
  stream.WriteTriplet(36, puzzle.GetHintsUsed());
  stream.WriteTriplet(37, puzzle.GetElapsedSeconds());
  stream.WriteByteTriplet(8, source ? source->UprightOffered() : 1);
  stream.WriteByteTriplet(39, puzzle.IsBevelOn() ? 1 : 0);
  stream.WriteByteTriplet(38, puzzle.IsBevelLight() ? 1 : 0);
  stream.WriteByteTriplet(29, 1);
  stream.WriteTriplet(41, JigsawFile::WriterVersion);
  stream.WriteByteTriplet(30, 1);
  stream.WriteByteTriplet(52, source && source->NoteHiddenUntilSolved());
  stream.WriteByteTriplet(53, source && source->NoteShownWhenSolved());
  if (window.boxCover.shown) {
    stream.WriteByteTriplet(48, 1);
    stream.WriteTriplet(49, window.boxCover.top);
    stream.WriteTriplet(50, window.boxCover.left);
    stream.WriteByteTriplet(51, std::uint8_t(window.boxCover.state));
  }
}

}  // namespace

bool JigsawFile::SaveFile(const QString& path, Puzzle& puzzle, const SavedWindowState& window) {
  HourGlass::Scope busy;
  JigsawFileReader* source = puzzle.GetJigsawFile();
  try {
    JigsawStream stream;
    Begin(stream);
    if (puzzle.GetAnimatedFile())
      stream.WriteStringTriplet(10, StoredPath::Fitted(puzzle.GetMediaPath(), QFileInfo(path).absolutePath(),
                                                       JigsawStream::MaxStringBytes));
    stream.WriteByteTriplet(2, std::uint8_t(puzzle.GetPictureFormat()));
    const qint64 pictureAt = Placeholder(stream, 3), pictureSizeAt = Placeholder(stream, 33);
    const bool cover = source && source->BoxCoverFormat() != 0;
    qint64 coverAt = -1, coverSizeAt = -1;
    if (cover) {
      stream.WriteByteTriplet(4, std::uint8_t(source->BoxCoverFormat()));
      coverAt = Placeholder(stream, 5);
      coverSizeAt = Placeholder(stream, 34);
    }
    WriteGameRecords(stream, puzzle, window, source);
    if (puzzle.IsScaled() || (source && source->PlayWidth() > 0)) {
      stream.WriteTriplet(23, puzzle.GetImageWidth());
      stream.WriteTriplet(24, puzzle.GetImageHeight());
    }
    const QByteArray* note = puzzle.GetNoteStream();
    const bool hasNote = note && !note->isEmpty();
    qint64 noteAt = -1;
    if (hasNote) {
      noteAt = Placeholder(stream, 42);
      stream.WriteTriplet(43, std::int32_t(note->size()));
    }
    // The music goes with the game also when it could not be played here.
    const qint64 soundSize = source ? source->SoundSize() : 0;
    qint64 soundAt = -1;
    if (soundSize > 0) {
      soundAt = Placeholder(stream, 45);
      stream.WriteTriplet(44, std::int32_t(soundSize));
      stream.WriteTriplet(46, source->SoundKind());
    }
    ChipGroup::WriteAllRecords(stream);
    PuzzleChip::WriteAllRecords(stream);
    stream.WriteTriplet(1, 0);

    JigsawBlocks blocks;
    blocks.path = path;
    std::tie(blocks.pictureOffset, blocks.pictureSize) = AppendBlock(
        stream, pictureAt, pictureSizeAt, [&](QIODevice& to) { return puzzle.WritePicture(to); }, "picture");
    if (cover)
      std::tie(blocks.coverOffset, blocks.coverSize) = AppendBlock(
          stream, coverAt, coverSizeAt, [&](QIODevice& to) { return source->CopyBoxCover(to); }, "box cover");
    if (hasNote)
      std::tie(blocks.noteOffset, blocks.noteSize) =
          AppendBlock(stream, noteAt, -1, [&](QIODevice& to) { return WriteBytes(to, *note); }, "note");
    if (soundSize > 0) {
      std::tie(blocks.soundOffset, blocks.soundSize) = AppendBlock(
          stream, soundAt, -1, [&](QIODevice& to) { return source->CopySoundTrack(to); }, "sound track");
      if (blocks.soundSize != soundSize) Fail(QStringLiteral("the sound track changed its size"));
      blocks.soundKind = source->SoundKind();
    }
    stream.close();
    WriteInPlace(path, stream.Bytes());
    puzzle.SetSavedPath(path);
    // Later saves copy the blocks from where they now are.
    if (source && source->IsSavedGame()) source->Repoint(blocks);
    return true;
  } catch (const std::exception& error) {
    ReportSaveFailure(error);
    return false;
  }
}

bool JigsawFile::SaveStillPuzzle(const QString& path, const StillPuzzleContent& content) {
  HourGlass::Scope busy;
  try {
    if (!IsPicture(content.picture, content.pictureFormat)) Fail(QStringLiteral("no picture"));
    const bool cover = !content.cover.isEmpty();
    if (cover && !IsPicture(content.cover, content.coverFormat)) Fail(QStringLiteral("the box cover is no picture"));
    JigsawStream stream;
    Begin(stream);
    stream.WriteByteTriplet(2, std::uint8_t(content.pictureFormat));
    const qint64 pictureAt = Placeholder(stream, 3), pictureSizeAt = Placeholder(stream, 33);
    qint64 coverAt = -1, coverSizeAt = -1;
    if (cover) {
      stream.WriteByteTriplet(4, std::uint8_t(content.coverFormat));
      coverAt = Placeholder(stream, 5);
      coverSizeAt = Placeholder(stream, 34);
    }
    stream.WriteByteTriplet(6, content.includeBoxCover);
    stream.WriteByteTriplet(8, content.allowUpright);
    stream.WriteTriplet(9, content.minimumPieces);
    stream.WriteTriplet(14, content.pieceSize);
    stream.WriteTriplet(7, content.hintLimit);
    stream.WriteByteTriplet(38, content.lightBevel);
    stream.WriteByteTriplet(39, 1);
    qint64 noteAt = -1, soundAt = -1;
    if (!content.note.isEmpty()) {
      noteAt = Placeholder(stream, 42);
      stream.WriteTriplet(43, std::int32_t(content.note.size()));
    }
    stream.WriteByteTriplet(52, content.noteHiddenUntilSolved);
    stream.WriteByteTriplet(53, content.noteShownWhenSolved);
    if (!content.music.isEmpty()) {
      stream.WriteTriplet(44, std::int32_t(content.music.size()));
      soundAt = Placeholder(stream, 45);
      stream.WriteTriplet(46, content.musicIsMidi ? 1 : 2);
    }
    stream.WriteByteTriplet(29, 1);
    stream.WriteTriplet(41, WriterVersion);
    stream.WriteByteTriplet(30, 1);
    stream.WriteTriplet(1, 0);
    AppendBlock(stream, pictureAt, pictureSizeAt, [&](QIODevice& to) { return WriteBytes(to, content.picture); }, "picture");
    if (cover)
      AppendBlock(stream, coverAt, coverSizeAt, [&](QIODevice& to) { return WriteBytes(to, content.cover); }, "box cover");
    if (noteAt >= 0) AppendBlock(stream, noteAt, -1, [&](QIODevice& to) { return WriteBytes(to, content.note); }, "note");
    if (soundAt >= 0)
      AppendBlock(stream, soundAt, -1, [&](QIODevice& to) { return WriteBytes(to, content.music); }, "music");
    stream.close();
    WriteInPlace(path, stream.Bytes());
    return true;
  } catch (const std::exception& error) {
    ReportSaveFailure(error);
    return false;
  }
}

bool StillPuzzleContent::ReadPicture(const QString& path) {
  picture = PictureFile::ReadBytes(path);
  pictureFormat = PictureFile::FormatOf(path);
  return IsPicture(picture, pictureFormat);
}

bool StillPuzzleContent::ReadCover(const QString& path) {
  cover = PictureFile::ReadBytes(path);
  coverFormat = PictureFile::FormatOf(path);
  return IsPicture(cover, coverFormat);
}
