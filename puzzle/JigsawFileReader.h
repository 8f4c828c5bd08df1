#pragma once
// What the puzzle object asks of a still-puzzle or saved-game file (".jig", ".saw"): the
// records it reads, the picture and box cover, the note and the music. JigsawFile implements
// it; tests put readers of their own in.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>

#include "ChipRecord.h"

class QIODevice;
class VirtualBuffer;

// Where the box-cover tool window stood when the game was saved (records 48-51).
struct BoxCoverWindowPlace {
  bool shown = false;
  int top = 0;
  int left = 0;
  int state = 0;  // 1: shown at full scale
};

// Where a file just written holds its blocks; offsets and sizes 0 for a block it lacks.
struct JigsawBlocks {
  QString path;
  qint64 pictureOffset = 0, pictureSize = 0;
  qint64 coverOffset = 0, coverSize = 0;
  qint64 noteOffset = 0, noteSize = 0;
  qint64 soundOffset = 0, soundSize = 0;
  int soundKind = 0;
};

class JigsawFileReader {
public:
  virtual ~JigsawFileReader() = default;

  // A PuzzleFileStatus; only a ready file is kept by the puzzle.
  virtual int Status() const = 0;
  virtual bool IsSavedGame() const = 0;
  // The file format's version; this program reads up to 1.
  virtual int FileVersion() const = 0;

  // Play size over picture size.
  virtual float Scale() const = 0;
  virtual int HintLimit() const = 0;  // -1: no limit
  virtual int HintsUsed() const = 0;
  virtual int ElapsedSeconds() const = 0;
  virtual int Joins() const = 0;
  virtual int PieceCount() const = 0;
  // The piece size a saved game was cut with.
  virtual int PieceSize() const = 0;
  // The bevel as it was saved: shown at all, and light.
  virtual bool BevelOn() const = 0;
  virtual bool LightBevel() const = 0;
  // Whole days since 30 December 1899.
  virtual int SaveDate() const = 0;

  // A saved game's table layout: the table and screen it was played on, the main window's
  // bounds and state, the largest group with a margin of 20, and the active mini table.
  virtual QSize SavedTableSize() const = 0;
  virtual QSize SavedScreenSize() const = 0;
  virtual QRect SavedWindowBounds() const = 0;
  virtual bool SavedMaximized() const = 0;
  virtual QSize LargestGroupExtent() const = 0;
  virtual int ActiveMini() const = 0;
  // The main window's width (height) that gives the saved table its room: the current one
  // plus what the saved table is wider (higher) than the current table.
  virtual int SavedWindowWidth(int windowWidth, int tableWidth) const = 0;
  virtual int SavedWindowHeight(int windowHeight, int tableHeight) const = 0;
  // Whether every saved group fits a table of that size, turning a group a quarter where
  // that makes it fit. The records change only when the answer is true.
  virtual bool FitGroupsByRotating(int width, int height) = 0;
  // The groups of the saved game, made again from its records for a table of that size.
  virtual void RestoreGroups(int tableWidth, int tableHeight) = 0;
  // The saved piece records, the last stored first; none once all are taken.
  virtual std::optional<ChipRecord> PopPieceRecord() = 0;
  // The file held record types this program does not know (a newer program wrote it).
  virtual bool HasUnknownContent() const = 0;

  // The stored play size (0 when none was stored) and the decoded picture size.
  virtual int PlayWidth() const = 0;
  virtual int PlayHeight() const = 0;
  virtual int PictureWidth() const = 0;
  virtual int PictureHeight() const = 0;

  // 2 BMP, 3 JPEG; the box-cover format is 0 without a box cover.
  virtual int PictureFormat() const = 0;
  virtual int BoxCoverFormat() const = 0;
  // The file marks its JPEG picture as not to be decoded.
  virtual bool JpegNotDecoded() const = 0;
  // The puzzle may show its box cover or picture before it is solved.
  virtual bool BoxCoverAvailable() const = 0;
  // The open dialog may offer upright pieces for this puzzle.
  virtual bool UprightOffered() const = 0;
  virtual BoxCoverWindowPlace SavedBoxCoverWindow() const = 0;
  // The note stays hidden until the puzzle is solved; the note opens when it is solved.
  virtual bool NoteHiddenUntilSolved() const = 0;
  virtual bool NoteShownWhenSolved() const = 0;

  // The animated-puzzle file whose picture this puzzle shows; empty when none.
  virtual QString GetMediaPath() const = 0;
  // Null when the file holds no note.
  virtual const QByteArray* GetNoteStream() const = 0;

  // The music: the block's size (0: none) and kind (1 MIDI, else WAVE).
  virtual qint64 SoundSize() const = 0;
  virtual int SoundKind() const = 0;
  // The file has a track that may play: a block to load it from, or a loaded track that was
  // not refused.
  virtual bool HasSoundTrack() const = 0;
  // Loads the track when there is one and none is loaded, then starts the current
  // background track.
  virtual void LoadSoundTrack() = 0;
  // Appends the track's data (the loaded track's, else the file's block); false when it was
  // not all written.
  virtual bool CopySoundTrack(QIODevice& stream) = 0;

  virtual QImage GetBitmap() = 0;
  // The picture at its play size; null when it cannot be read.
  virtual std::unique_ptr<VirtualBuffer> GetPicture() = 0;
  // The box cover, or the picture when the file has none; null when not available.
  virtual std::unique_ptr<VirtualBuffer> GetPreviewBuffer() = 0;

  // Append the picture (box-cover) block to a stream; false when it was not all written.
  virtual bool CopyPicture(QIODevice& stream) = 0;
  virtual bool CopyBoxCover(QIODevice& stream) = 0;

  // A saved game saved again lives in the new file from now on. Its blocks stay the bytes
  // read at opening, which the new file holds too; the old file may be gone.
  virtual void Repoint(const JigsawBlocks& blocks) = 0;
};
