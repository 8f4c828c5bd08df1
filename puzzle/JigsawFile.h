#pragma once
// The still-puzzle (".jig") and saved-game (".saw") file: a signature, a run of typed
// records (JigsawStream) and the data blocks of the picture, box cover, note and music.
// Reading keeps one field per record type, the piece and group records for the table, and
// the file's bytes, from which every block is decoded and copied later;
// every offset, length, count and size read is checked before it is used, and a file that
// fails a check is corrupt. The writers build the whole file in memory and put it in place
// only once it was all written.

#include "JigsawFileReader.h"
#include "PuzzleFileStatus.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class Puzzle;
class SoundTrack;

// The main window and box-cover window as the shell sees them when it saves a game. The box
// cover counts as shown only as the tool window with its toolbar, not as the hover preview.
struct SavedWindowState {
  QRect mainWindow;
  bool maximised = false;
  BoxCoverWindowPlace boxCover;
};

// What the create tab gathers for a new still puzzle. The picture and the box cover are the
// bytes their files held when they were chosen, so that what was previewed is what is written.
struct StillPuzzleContent {
  QByteArray picture;     // a BMP or JPEG file's bytes
  int pictureFormat = 0;  // PictureFile::Bitmap or Jpeg
  QByteArray cover;       // an alternate box cover's; empty for none
  int coverFormat = 0;
  bool includeBoxCover = true;
  bool allowUpright = true;
  int minimumPieces = 0;  // 0: no minimum
  int pieceSize = 0;
  int hintLimit = -1;
  bool lightBevel = false;
  QByteArray note;
  bool noteHiddenUntilSolved = false;
  bool noteShownWhenSolved = false;
  QByteArray music;
  bool musicIsMidi = true;

  // Tools and tests: the picture (box cover) read once from a picture file; false when it
  // cannot be.
  bool ReadPicture(const QString& path);
  bool ReadCover(const QString& path);
};

class JigsawFile : public JigsawFileReader {
public:
  static constexpr char Signature[] = "_Jigsaw Puzzle File_";
  static constexpr int SignatureSize = 20;
  // The program version written into files (record 41).
  static constexpr int WriterVersion = 2004;

  // Reads the file; Status() tells how that went.
  explicit JigsawFile(const QString& path);
  ~JigsawFile() override;
  JigsawFile(const JigsawFile&) = delete;
  JigsawFile& operator=(const JigsawFile&) = delete;

  // Writes the puzzle being played as a saved game; false after the player was told.
  static bool SaveFile(const QString& path, Puzzle& puzzle, const SavedWindowState& window);
  // Writes a new still puzzle; false after the player was told.
  static bool SaveStillPuzzle(const QString& path, const StillPuzzleContent& content);

  // Appends size bytes from offset of this file as it was read; false when they were not
  // all copied.
  bool CopyBlock(QIODevice& stream, qint64 offset, qint64 size) const;

  const QString& Path() const { return path_; }
  int Status() const override { return status_; }
  bool IsSavedGame() const override { return savedGame_; }
  int FileVersion() const override { return record30_; }
  int Record29() const { return record29_; }
  int WrittenBy() const { return writerVersion_; }
  int SaveTime() const { return saveTime_; }
  bool JpegNotDecoded() const override { return jpegNotDecoded_; }
  float Scale() const override { return scale_; }
  int HintLimit() const override { return hintLimit_; }
  int HintsUsed() const override { return hintsUsed_; }
  int ElapsedSeconds() const override { return elapsed_; }
  int Joins() const override { return joins_; }
  int PieceCount() const override { return pieceCount_; }
  int PieceSize() const override { return pieceSize_; }
  bool BevelOn() const override { return bevelOn_ != 0; }
  bool LightBevel() const override { return light_ != 0; }
  int SaveDate() const override { return saveDate_; }

  QSize SavedTableSize() const override { return {tableWidth_, tableHeight_}; }
  QSize SavedScreenSize() const override { return {screenWidth_, screenHeight_}; }
  QRect SavedWindowBounds() const override { return {windowLeft_, windowTop_, windowWidth_, windowHeight_}; }
  bool SavedMaximized() const override { return maximised_ != 0; }
  QSize LargestGroupExtent() const override { return {groupWidth_, groupHeight_}; }
  int ActiveMini() const override { return activeMini_ == 0xFF ? -1 : activeMini_; }
  int SavedWindowWidth(int windowWidth, int tableWidth) const override;
  int SavedWindowHeight(int windowHeight, int tableHeight) const override;
  bool FitGroupsByRotating(int width, int height) override;
  void RestoreGroups(int tableWidth, int tableHeight) override;
  std::optional<ChipRecord> PopPieceRecord() override;
  const std::vector<ChipRecord>& PieceRecords() const { return pieces_; }
  const std::vector<ChipGroupRecord>& GroupRecords() const { return groups_; }
  bool HasUnknownContent() const override { return unknownContent_; }

  int PlayWidth() const override { return playWidth_; }
  int PlayHeight() const override { return playHeight_; }
  int PictureWidth() const override { return pictureWidth_; }
  int PictureHeight() const override { return pictureHeight_; }
  int BoxCoverWidth() const { return coverWidth_; }
  int BoxCoverHeight() const { return coverHeight_; }
  int PictureFormat() const override { return pictureFormat_; }
  int BoxCoverFormat() const override { return coverFormat_; }
  bool BoxCoverAvailable() const override { return coverAvailable_ != 0; }
  bool UprightOffered() const override { return uprightOffered_ != 0; }
  BoxCoverWindowPlace SavedBoxCoverWindow() const override { return coverWindow_; }
  bool NoteHiddenUntilSolved() const override { return noteHidden_ != 0; }
  bool NoteShownWhenSolved() const override { return noteAtEnd_ != 0; }

  QString GetMediaPath() const override { return mediaPath_; }
  const QByteArray* GetNoteStream() const override { return note_ ? &*note_ : nullptr; }
  qint64 SoundSize() const override { return soundSize_; }
  int SoundKind() const override { return soundKind_; }
  bool HasSoundTrack() const override;
  void LoadSoundTrack() override;
  SoundTrack* GetSoundTrack() const { return track_.get(); }
  bool CopySoundTrack(QIODevice& stream) override;

  QImage GetBitmap() override;
  std::unique_ptr<VirtualBuffer> GetPicture() override;
  std::unique_ptr<VirtualBuffer> GetPreviewBuffer() override;
  bool CopyPicture(QIODevice& stream) override;
  bool CopyBoxCover(QIODevice& stream) override;
  void Repoint(const JigsawBlocks& blocks) override;

private:
  struct Block {
    qint64 offset = 0;
    qint64 size = 0;
  };

  int Read();
  bool ReadRecords(const QByteArray& data);
  void TakeRecord(int type, const QByteArray& value);
  void TakePieceRecord(const QByteArray& value);
  void TakeGroupRecord(const QByteArray& value);
  void CheckRecords() const;
  void CheckPieceCount() const;
  void CheckPieceRecords() const;
  void CheckGroupRecords() const;
  void MeasurePictures(const QByteArray& data);
  void FitScale();
  void ReadNote(const QByteArray& data);
  Block CheckedBlock(qint64 offset, qint64 size, const char* what) const;
  static QByteArray BlockOf(const QByteArray& data, const Block& block);
  QByteArray ReadBlock(const Block& block) const;
  std::unique_ptr<VirtualBuffer> DecodePicture(const QString& name);
  std::unique_ptr<VirtualBuffer> DecodeBoxCover();

  QString path_;
  int status_ = pfsNotReadYet;
  qint64 fileSize_ = 0;
  QByteArray bytes_;  // the whole file as read: the blocks are taken from here
  bool savedGame_ = false;

  std::uint8_t pictureFormat_ = 0, coverFormat_ = 0;
  std::uint8_t coverAvailable_ = 1, uprightOffered_ = 1, maximised_ = 0, activeMini_ = 0;
  std::uint8_t record29_ = 0, record30_ = 0, bevelOn_ = 1, light_ = 0, jpegNotDecoded_ = 0;
  std::uint8_t noteHidden_ = 0, noteAtEnd_ = 0;
  qint64 pictureOffset_ = 0, pictureSize_ = 0, coverOffset_ = 0, coverSize_ = 0;
  int pieceCount_ = 0, pieceSize_ = 0;
  int windowWidth_ = 0, windowHeight_ = 0, tableWidth_ = 0, tableHeight_ = 0;
  int windowPairs_ = 0, heightPairs_ = 0;
  int groupWidth_ = 0, groupHeight_ = 0, screenWidth_ = 0, screenHeight_ = 0;
  int windowLeft_ = 0, windowTop_ = 0, playWidth_ = 0, playHeight_ = 0;
  int joins_ = 0, saveDate_ = 0, saveTime_ = 0, hintLimit_ = -1, hintsUsed_ = 0, elapsed_ = 0;
  int writerVersion_ = 0;
  bool unknownContent_ = false;
  float scale_ = 1.0f;
  QString mediaPath_;
  std::vector<ChipRecord> pieces_;
  std::vector<ChipGroupRecord> groups_;
  int pictureWidth_ = 0, pictureHeight_ = 0, coverWidth_ = 0, coverHeight_ = 0;
  int decodedWidth_ = 0, decodedHeight_ = 0;
  qint64 oldNoteOffset_ = 0, oldNoteSize_ = 0, noteOffset_ = 0, noteSize_ = 0;
  std::optional<QByteArray> note_;
  qint64 soundSize_ = 0, soundOffset_ = 0;
  int soundKind_ = 0;
  std::unique_ptr<SoundTrack> track_;
  bool trackFailed_ = false;  // refused or unreadable: kept for the saves, never played
  BoxCoverWindowPlace coverWindow_;
};
