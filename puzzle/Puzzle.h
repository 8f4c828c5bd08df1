#pragma once
// One open puzzle: its source file and kind, its picture and the size it is played at, its
// cut, joins, hint allowance, play clock, and the change and join events. The source is a
// picture (".bmp", ".jpg", ".jpeg"), a still puzzle or saved game (".jig", ".saw") or an
// animated puzzle (".qvp"); extensions are compared without regard to case.
//
// Every puzzle sits in one global list from its construction on, so that all of them can be
// freed at shut-down; the current puzzle is the one being played.

#include "PictureSizeSource.h"
#include "PuzzleClock.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class AnimatedFileReader;
class BevelFilter;
class CuttingDie;
class PixelMap;
class JigsawFileReader;
class LoadProgress;
class ChipList;
class PuzzleTable;
class QIODevice;
class VirtualBuffer;

class Puzzle : public PictureSizeSource {
public:
  using Event = std::function<void(Puzzle&)>;

  // Opens the source; a failure is shown to the player and leaves the puzzle invalid, but
  // still usable for its name, type text and thumbnail.
  explicit Puzzle(const QString& path, bool deleteSource = false);
  ~Puzzle() override;
  Puzzle(const Puzzle&) = delete;
  Puzzle& operator=(const Puzzle&) = delete;

  // The puzzle being played, or null.
  static Puzzle* Current();

  // Cuts the picture into pieces on the table, or restores a saved game, while the loading
  // window shows the stages; true when the puzzle is ready to play.
  bool Prepare(PuzzleTable* surface, LoadProgress* loadWindow);

  // Picture and size. The play size is the picture's size as played; empty when unknown.
  QSize GetImageSize() override;
  int GetImageWidth() { return GetImageSize().width(); }
  int GetImageHeight() { return GetImageSize().height(); }
  // The picture of the play size, loaded on first use; null when it cannot be read. Until
  // the bevel shades it, the live picture is also the unshaded one.
  VirtualBuffer* GetImage(bool live = true);
  VirtualBuffer* LivePicture() override { return GetImage(true); }
  // The source picture at its own size; a null image when there is none.
  QImage LoadPicture();
  // 2 BMP, 3 JPEG.
  int GetPictureFormat();
  // Append the picture (box cover) to a saved game's stream; false when it was not all
  // written. A puzzle without a box cover writes nothing and succeeds. Both come from what
  // was read when the puzzle was opened, never from the source file again: the player may
  // have moved, deleted or changed it since.
  bool WritePicture(QIODevice& stream);
  bool WriteBoxCover(QIODevice& stream);

  // Texts and file facts.
  QString GetDisplayName() const;
  QString GetTypeName() const;
  QString GetLastPlayDate() const;
  // A whole day number (days since 30 December 1899) as the system's short date.
  static QString FormatLastPlayDate(int dayNumber);
  QString GetMediaPath() const;
  // Null when the puzzle has no note.
  const QByteArray* GetNoteStream() const;
  bool IsPreviewAllowed() const;
  bool HasBoxCover() const;
  int GetBoxCoverFlag() const;
  // Null when there is no box cover to show.
  std::unique_ptr<VirtualBuffer> GetBoxCover();
  // The box cover or picture fitted into a box of that many pixels; a null image when the
  // puzzle forbids a preview or has no picture.
  QImage MakeThumbnail(int box);
  // The bytes the thumbnail is decoded from and their format (2 BMP, 3 JPEG), so that it can
  // be made away from the puzzle (PictureThumbnail); no bytes when the puzzle forbids a
  // preview, has no picture, or holds its picture decoded already (an animated puzzle, which
  // MakeThumbnail draws at once).
  struct PictureBytes {
    QByteArray bytes;
    int format = 0;
    QString name;
  };
  PictureBytes ThumbnailBytes();
  // A picture file's bytes as read when the puzzle was opened; no bytes for a puzzle file.
  PictureBytes SourcePicture() const;

  // Counts.
  int GetPieceCount() const;
  int GetSavedPieceCount() const;
  int GetPercentComplete() const;
  void AddJoin();
  void UseHint();
  // The limit only falls (-1 leaves it alone) and the count only rises.
  void SetHintCounts(int limit, int used);

  // The bevel as played; a puzzle not prepared has none (off, not light). The setters mark
  // a change when they change something.
  bool IsBevelOn() const;
  bool IsBevelLight() const;
  void SetBevelOn(bool on);
  void SetBevelLight(bool light);

  // Changes: the events fire only when the flag flips.
  void SetChanged();
  void ClearChanged();
  bool IsChanged() const { return changePending; }

  // Clock.
  void StartClock() { clock.Start(); }
  void StopClock(bool freeze) { clock.Stop(freeze); }
  int GetElapsedSeconds() const { return clock.ElapsedSeconds(); }
  bool IsClockRunning() const { return clock.IsRunning(); }
  // "1 hours, 2 mins" in the long form, "1 h 02 m" (with seconds "1 h 02 m 05 s") otherwise.
  QString FormatElapsed(bool longForm) const;

  // Fields the shell, the table and the saved-game writer read and set.
  const QString& GetPath() const { return path; }
  const QString& GetSavedPath() const { return savedPath; }
  void SetSavedPath(const QString& saved) { savedPath = saved; }
  bool IsValid() const { return valid; }
  // Made from the clipboard's picture: its source is a temporary copy that goes with it.
  bool IsFromClipboard() const { return deleteSource; }
  bool IsStarted() const { return started; }
  bool IsScaled() const { return scaled; }
  float GetScale() const { return scale; }
  int GetPieceSize() const { return pieceSize; }
  void SetPieceSize(int size) { pieceSize = size; }
  bool GetCutOption() const { return cutOption; }
  int GetJoins() const { return joins; }
  int GetHintLimit() const { return hintLimit; }
  int GetHintsUsed() const { return hintsUsed; }
  JigsawFileReader* GetJigsawFile() const { return jigsawFile.get(); }
  // Made by a successful preparation; null before and after a failed one.
  BevelFilter* GetBevel() const { return bevel.get(); }
  PixelMap* GetPixelMap() const { return pixelMap.get(); }
  AnimatedFileReader* GetAnimatedFile() const { return animatedFile.get(); }

  // The stop box for a puzzle file that cannot be read (status: a PuzzleFileStatus).
  void ReportCorrupt(int status, const QString& file);

  Event OnChange;
  Event OnJoin;

private:
  friend class PuzzleTestAccess;

  int OpenSource();
  int OpenJigsaw();
  int OpenAnimated();
  int NoReaderStatus() const;
  void FitStillImage();
  void ReportOpenFailure(int status);
  std::unique_ptr<VirtualBuffer> LoadLivePicture();
  bool WriteSourceBytes(QIODevice& stream) const;
  void BecomeCurrent();
  void FreePicture();

  // Preparation, step by step; each false has been reported (or was a cancel).
  bool CheckFileVersions();
  bool CheckAnimatedVersion(const AnimatedFileReader& file);
  bool OpenRecordedAnimation();
  bool RestoreSavedLayout(PuzzleTable& table);
  bool FitSavedWindow(PuzzleTable& table);
  bool CheckLivePicture(LoadProgress* loadWindow);
  bool CheckPieceSize();
  bool CutWithRetries(PuzzleTable& table, LoadProgress* loadWindow);
  int CutOnce(PuzzleTable& table, LoadProgress* loadWindow);
  void DropCut(ChipList& pieces);
  void SetBevelOptions();
  // The cut itself; tests put a failing one in.
  using ChipCutter = int (*)(CuttingDie*, BevelFilter*, bool, LoadProgress*);
  static ChipCutter cutChips;

  QString path;
  // A still image's file as read when the puzzle was opened: measured, decoded and saved
  // from these bytes only.
  QByteArray sourceBytes;
  bool deleteSource;
  int playWidth = 0;
  int playHeight = 0;
  std::unique_ptr<PixelMap> pixelMap;
  std::unique_ptr<VirtualBuffer> picture;
  std::unique_ptr<CuttingDie> die;
  int pieceSize = 0;
  std::unique_ptr<AnimatedFileReader> animatedFile;
  std::unique_ptr<JigsawFileReader> jigsawFile;
  bool cutOption = true;
  std::unique_ptr<BevelFilter> bevel;
  bool valid = true;
  float scale = 1.0f;
  bool scaled = false;
  int pieceCount = 0;
  int joins = 0;
  bool started = false;
  bool changePending = false;
  int hintLimit = -1;
  int hintsUsed = 0;
  PuzzleClock clock;
  QString savedPath;
};

// The global puzzle list. A puzzle taken out of it belongs to whoever took it.
void AddPuzzleToList(Puzzle* puzzle);
void RemovePuzzleFromList(Puzzle* puzzle);
// Frees every listed puzzle, the last first.
void DeleteAllPuzzles();
