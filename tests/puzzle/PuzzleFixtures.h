#pragma once
// What the engine tests stand on: generated picture files, a picture of a fixed size, a
// loading window that records and cancels, a still-puzzle reader that answers from its
// fields, a table and a tip display that record what the puzzle asks, and access to what a
// preparation leaves.

#include "Yelk/IntArray.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipList.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/LoadProgress.h"
#include "puzzle/PictureSizeSource.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/TipDisplay.h"

#include <QList>
#include <QStringList>
#include <QString>

#include <climits>
#include <functional>
#include <vector>

namespace PuzzleFixtures {
// A width × height picture with a different colour in every pixel, written as a BMP or
// JPEG file (by the extension of name) into the scratch folder; its full path.
QString WritePicture(const QString& name, int width, int height);
QString ScratchPath(const QString& name);
// Runs body while files may grow to only that many bytes, as on a full disk (writes beyond
// fail instead of raising a signal); its answer.
bool WithFileSizeLimit(long bytes, const std::function<bool()>& body);

// Every picture pixel lies in exactly one piece's mask, and no mask pixel outside.
bool PiecesPartition(ChipList& pieces, int width, int height);

// Grid line positions of a die: 0, X(0), X(0) + X(1), ... up to the side itself.
inline std::vector<int> GridLines(const IntArray& lengths) {
  std::vector<int> lines{0};
  for (int i = 0; i < lengths.Size(); ++i) lines.push_back(lines.back() + lengths.Get(i));
  return lines;
}
}  // namespace PuzzleFixtures

// A picture of a fixed size; while alive it can be the current puzzle's picture.
class FakePicture : public PictureSizeSource {
public:
  FakePicture(int width, int height, bool current = false) : size_(width, height) {
    if (current) SetCurrent(this);
  }
  QSize GetImageSize() override { return size_; }

private:
  QSize size_;
};

// Records the stages and the bar, and raises the cancel flag once the bar has passed a
// chosen position.
class FakeLoadProgress : public LoadProgress {
public:
  explicit FakeLoadProgress(int cancelAbove = INT_MAX) : cancelAbove_(cancelAbove) {}
  void SetStage(int stage) override {
    stages.push_back(stage);
    bar = 0;
  }
  int BarPosition() override { return stages.empty() ? 0 : bar; }
  void SetBarPosition(int position) override {
    if (!stages.empty()) bar = position;
    if (bar > cancelAbove_) cancelled = true;
  }
  bool IsCancelled() const override { return cancelled; }

  std::vector<int> stages;
  int bar = 0;
  bool cancelled = false;

private:
  int cancelAbove_;
};

class FakeJigsawReader : public JigsawFileReader {
public:
  int Status() const override { return status; }
  bool IsSavedGame() const override { return savedGame; }
  int FileVersion() const override { return fileVersion; }
  QSize SavedTableSize() const override { return savedTable; }
  QSize SavedScreenSize() const override { return savedScreen; }
  QRect SavedWindowBounds() const override { return savedBounds; }
  bool SavedMaximized() const override { return savedMaximized; }
  QSize LargestGroupExtent() const override { return largestGroup; }
  int ActiveMini() const override { return activeMini; }
  bool FitGroupsByRotating(int width, int height) override {
    return largestGroup.width() <= width && largestGroup.height() <= height;
  }
  void RestoreGroups(int, int) override { ++*groupsRebuilt; }
  std::optional<ChipRecord> PopPieceRecord() override {
    if (records.empty()) return std::nullopt;
    ChipRecord last = records.back();
    records.pop_back();
    return last;
  }
  bool HasUnknownContent() const override { return unknownContent; }
  int PieceSize() const override { return pieceSize; }
  bool BevelOn() const override { return bevelOn; }
  bool LightBevel() const override { return lightBevel; }
  float Scale() const override { return scale; }
  int HintLimit() const override { return hintLimit; }
  int HintsUsed() const override { return hintsUsed; }
  int ElapsedSeconds() const override { return elapsed; }
  int Joins() const override { return joins; }
  int PieceCount() const override { return pieces; }
  int SaveDate() const override { return saveDate; }
  int PlayWidth() const override { return 0; }
  int PlayHeight() const override { return 0; }
  int PictureWidth() const override { return pictureSize.width(); }
  int PictureHeight() const override { return pictureSize.height(); }
  int PictureFormat() const override { return 3; }
  bool JpegNotDecoded() const override { return false; }
  int BoxCoverFormat() const override { return 0; }
  bool BoxCoverAvailable() const override { return boxCoverAvailable; }
  QString GetMediaPath() const override { return mediaPath; }
  int SavedWindowWidth(int windowWidth, int) const override { return windowWidth; }
  int SavedWindowHeight(int windowHeight, int) const override { return windowHeight; }
  bool UprightOffered() const override { return true; }
  BoxCoverWindowPlace SavedBoxCoverWindow() const override { return {}; }
  bool NoteHiddenUntilSolved() const override { return false; }
  bool NoteShownWhenSolved() const override { return false; }
  qint64 SoundSize() const override { return 0; }
  int SoundKind() const override { return 0; }
  bool HasSoundTrack() const override { return false; }
  void LoadSoundTrack() override {}
  bool CopySoundTrack(QIODevice&) override { return true; }
  void Repoint(const JigsawBlocks&) override {}
  const QByteArray* GetNoteStream() const override { return nullptr; }
  QImage GetBitmap() override { return QImage(40, 40, QImage::Format_RGB32); }
  std::unique_ptr<VirtualBuffer> GetPicture() override;
  std::unique_ptr<VirtualBuffer> GetPreviewBuffer() override { return nullptr; }
  bool CopyPicture(QIODevice&) override { return true; }
  bool CopyBoxCover(QIODevice&) override { return true; }

  int status = 0;
  bool savedGame = false;
  float scale = 1.0f;
  int hintLimit = -1;
  int hintsUsed = 0;
  int elapsed = 0;
  int joins = 0;
  int pieces = 0;
  int saveDate = 0;
  bool boxCoverAvailable = true;
  int fileVersion = 1;
  int pieceSize = 0;
  bool bevelOn = true;
  bool lightBevel = false;
  QString mediaPath;
  QSize savedTable{100, 100};
  QSize savedScreen{1280, 800};
  QRect savedBounds;
  bool savedMaximized = false;
  QSize largestGroup{0, 0};
  int activeMini = 0;
  std::vector<ChipRecord> records;  // in stored order
  bool unknownContent = false;
  // Shared by the copies that the puzzles open.
  std::shared_ptr<int> groupsRebuilt = std::make_shared<int>(0);
  // The header's picture size, and the size of what GetPicture decodes (none when empty).
  QSize pictureSize;
  QSize decodedSize;
};

// Opens every ".jig" and ".saw" path with a copy of its reader while it lives.
class ReaderScope {
public:
  ReaderScope();
  ~ReaderScope();
  FakeJigsawReader jigsaw;
};

class FakeTable : public PuzzleTable {
public:
  explicit FakeTable(QSize area) : area_(area) { SetCurrent(this); }
  ~FakeTable() override { pieces.DeleteAll(); }
  QSize AvailableArea() const override { return area_; }
  int GetWidth() const override { return area_.width(); }
  int GetHeight() const override { return area_.height(); }
  QSize ScreenSize() const override { return screen; }
  void MaximizeMainForm() override { layout.append(QStringLiteral("maximize")); }
  void PlaceMainForm(const QRect& bounds) override {
    layout.append(QStringLiteral("place %1,%2 %3x%4")
                      .arg(bounds.left()).arg(bounds.top()).arg(bounds.width()).arg(bounds.height()));
  }
  void SwitchToMini(int index) override { layout.append(QStringLiteral("mini %1").arg(index)); }
  QSize screen{1280, 800};
  QStringList layout;  // what was asked of the main window, in order
  void DeleteAllPieces() override { ++piecesDeleted; }
  ChipList& GetChipList() override { return pieces; }
  void SetJoinSoundPending() override { ++joinSounds; }
  int piecesDeleted = 0;
  int joinSounds = 0;
  ChipList pieces;  // the pieces cut for this table, deleted with it

private:
  QSize area_;
};

class RecordedTips : public TipDisplay {
public:
  RecordedTips() { SetCurrent(this); }
  bool ShowTip(int number) override {
    shown.append(number);
    return !refused.contains(number);
  }
  void MarkTipUsed(int number) override { used.append(number); }
  bool IsTipEligible(int number) override { return !ineligible.contains(number); }
  QList<int> shown;
  QList<int> refused;  // tips that answer "not shown"
  QList<int> used;
  QList<int> ineligible;
};

class PuzzleTestAccess {
public:
  // What a successful preparation leaves: started with that many pieces, the current one.
  static void Start(Puzzle& puzzle, int pieces) {
    puzzle.pieceCount = pieces;
    puzzle.started = true;
    puzzle.BecomeCurrent();
  }
  // The cut a preparation makes; tests put a failing one in.
  static void UseCutter(Puzzle::ChipCutter cutter) { Puzzle::cutChips = cutter; }
};
