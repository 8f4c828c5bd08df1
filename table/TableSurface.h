#pragma once
// The main play table: its picture, the pieces lying on it in stacking order, the carried
// selection, the background texture and watermark, the magnifier's picture, the hint marks
// and their timers. It loads a puzzle and lays its pieces out, switches the mini tables in,
// follows the window's size, and draws the table (only the changed parts while the player
// plays). Exactly one exists; the window, the minis, the playback and the random choices
// come in through small interfaces, so that it runs without a window.

#include "PerformanceStats.h"
#include "VideoProjector.h"
#include "puzzle/ChipList.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/VideoFrameRegions.h"

#include <QObject>
#include <QRect>
#include <QRegion>
#include <QTimer>

#include <functional>
#include <memory>

class BufferView;
class ChipGroup;
class ChipSelection;
class LoadProgress;
class MiniBoard;
class PageBlock;
class Puzzle;
class PuzzleChip;
class RandomSource;
class TableHost;
class TableMini;
class TablePlayback;
class VirtualBuffer;

class TableSurface : public PuzzleTable, public ProjectorScreen {
public:
  // Drop points: where the selection is now, and where it was picked up.
  static constexpr int AtSelection = 0x0FFFFFFF;
  static constexpr int AtPickUp = 0x0FFFFFFE;
  static constexpr int HintMillis = 2500;
  // The snap indicator follows a carried piece once the pointer rests this long; after a
  // join it stays lit for the longer time.
  static constexpr int FlashMillis = 250;
  static constexpr int SnapFlashMillis = 2000;
  // Pointer buttons as the window hands them in; the middle one captures and releases.
  static constexpr int LeftButton = 0;
  static constexpr int RightButton = 1;
  static constexpr int MiddleButton = 2;

  using StatisticsEvent = std::function<void(const PerformanceStats&)>;
  // Where the sponsor's logo comes from for the watermark: a copy of its shading map, which
  // the surface keeps; null result: the default one.
  using LogoSource = std::function<std::unique_ptr<VirtualBuffer>()>;

  // The first mini of the board becomes the active one.
  TableSurface(TableHost& host, MiniBoard& minis);
  ~TableSurface() override;
  TableSurface(const TableSurface&) = delete;
  TableSurface& operator=(const TableSurface&) = delete;

  static TableSurface* CurrentSurface() { return current_; }
  static void SetLogoSource(LogoSource source);
  // The watermark's shading map; null when the watermark is off.
  const VirtualBuffer* Signature() const { return signature_.get(); }
  // Installs the playback and the random source (tests and the shell); null restores the
  // defaults: no playback, clock-seeded randomness.
  void SetPlayback(TablePlayback* playback);
  void SetRandomSource(RandomSource* random);

  // The table as the puzzle sees it.
  QSize ScreenSize() const override;
  void MaximizeMainForm() override;
  void PlaceMainForm(const QRect& bounds) override;
  void SwitchToMini(int index) override;
  QSize AvailableArea() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void DeleteAllPieces() override;
  ChipList& GetChipList() override { return chips_; }
  void SetJoinSoundPending() override { joinSoundPending_ = true; }
  // Whether a join asked for its sound since the last call.
  bool TakeJoinSound();

  // Loading and unloading a puzzle; true when it is laid out and playable.
  bool LoadPuzzle(Puzzle* puzzle);
  void UnloadPuzzle();
  Puzzle* GetPuzzle() const { return puzzle_; }

  // The target mini's pieces come onto the table, the table's go to the active mini; a
  // merge mini's pieces come along.
  void SwitchToMini(TableMini* target, TableMini* merge);
  TableMini* ActiveMini() const { return activeMini_; }
  // The table follows the window; groups that no longer fit are captured. The message about
  // them waits until the event that resized the table has finished.
  void Resize(int w, int h);
  // While the window passes through sizes on its way to a new state, the table keeps its
  // size; the last size asked for is applied when the last hold ends. Nested.
  void HoldResizes();
  void ReleaseResizes();
  bool HoldsResizes() const { return resizeHolds_ > 0; }
  // The largest size of that shape whose pixels the pixel map can index.
  static QSize FitTableSize(QSize size);

  // Background texture: tinted to a colour, or a given picture (null: the default texture).
  void MakeBackground(int colour);
  void SetBackground(std::unique_ptr<VirtualBuffer> buffer);

  void Scatter();
  void BottomToTop();
  void TopToBottom();

  // The window went inactive (t: the player left) or came back.
  void Suspend(bool t);
  void Resume(bool t);

  bool ShowChipHint(PuzzleChip* piece);
  // The neighbour is crossed on its mini and the table marks the column; one hint at a
  // time, so no mark is left behind that the hint's end would not take away.
  bool ShowMiniHint(TableMini& mini, PuzzleChip* piece);
  void HideHint();
  int HintState() const { return hintState_; }
  QPoint HintPoint() const { return hintPoint_; }
  // The hint's timer, null while no hint shows.
  QTimer* HintTimer() const { return hintTimer_.get(); }

  // The window is being activated: playback waits until the event loop is idle again.
  void PauseUntilIdle();
  void StopProjector() override;
  void DestroyProjector();
  // A playback step's redraw; an idle step presents a repaint that was not presented.
  void ShowStep(VideoFrameRegions& changed) override;
  void ShowIdleStep() override;
  // True while no animation presents the table itself.
  bool IsStaticPicture() const;

  // The magnifier's picture of w x h, shown in view.
  void SetMagnifier(int w, int h, BufferView* view);
  void FreeMagnifier();
  void PaintMagnifier();
  const VirtualBuffer* MagnifierBuffer() const { return magnifier_.get(); }

  // Drawing.
  void Repaint(bool full, bool present, const ChipList* shadowList, VideoFrameRegions& dirty);
  void Refresh();
  static VideoFrameRegions& GetDirtyRegions();
  static VideoFrameRegions& GetDragRegions();
  const VirtualBuffer* TableBuffer() const { return table_.get(); }

  // Picking up and carrying: the piece (its group) under the press leaves the table into a
  // selection that follows the pointer over the table drawn without it.
  void PickUp(PuzzleChip* piece, int x, int y);
  void DragTo(int x, int y, bool repaint);
  ChipSelection* Selection() const { return selection_.get(); }
  void SaveUnder(int x, int y);
  // Where the pointer holds the carried selection now.
  QPoint SelectionPoint() const;

  // Pointer input in table coordinates. A press answers whether it picked a piece up; a
  // move whether the pointer is over a piece (cursorChanged, when given, is set when the
  // capture cursor may have to change); a release whether a piece still hangs at the
  // pointer, to be laid down by the next left press.
  bool MouseDown(int button, int x, int y);
  bool MouseMove(bool* cursorChanged, bool repaint, int x, int y);
  bool MouseUp(int button, int x, int y);
  // A left press captures like the middle button while Caps Lock differs from Shift.
  static int PressedButton(int button, bool shiftDown);
  // Lays the carried pieces down at (x, y) (a drop point allowed), with ontoMini onto the
  // inactive mini under the pointer when there is one.
  void DropSelection(bool ontoMini, int x, int y);
  // The most recently captured piece (group) comes back at (x, y).
  void ReleaseAt(int x, int y);
  void RotateLeft();
  void RotateRight();
  void RestartFlashTimer();
  // The flash timer's handler.
  void FlashTimer();
  const QTimer& FlashTimerState() const { return flashTimer_; }
  bool IsDragging() const { return dragging_; }

  StatisticsEvent OnStatistics;
  QString StatusText;

private:
  void InstallSignature();
  void InstallDefaultBackground();
  void ReplaceTableBuffer(int w, int h);
  void DeleteSaveUnders();
  bool IsAnimatedSource() const;
  void StartHintTimer();

  // Loading.
  bool RunLoad(Puzzle* puzzle, LoadProgress& loading);
  bool StartPlayback(Puzzle& puzzle, LoadProgress& loading);
  void ApplyHeldResize();
  bool LayOutPieces(LoadProgress& loading);
  bool LayOutNewGame(LoadProgress& loading);
  bool LayOutSavedGame(LoadProgress& loading);
  void SendToMini(PuzzleChip* piece, TableMini* mini);
  void ReportNewerFile();

  // Layout on a changed table.
  void LayOutAtFractions(const ChipList& list, int edge);
  bool CaptureOversizedGroups(ChipList& list, int w, int h);
  void QueueCapturedMessage();
  void ShowCapturedMessage();

  // Drawing.
  void DrawBackground();
  void CastShadows(const ChipList& list);
  void MapPicture(const VideoFrameRegions& dirty);
  void DrawHintMarker();
  void RepaintActiveMini(bool takeSaveUnder);
  void PresentTable(bool wholeTable);
  void FinishPresent();
  QRegion TableAreaOf(const VideoFrameRegions& changed) const;
  void CountStatistics();
  void ShowMagnifier();

  // Input.
  void CaptureOrRelease(int x, int y);
  bool ReleaseOne(int x, int y);
  void MoveReleasedToMini(PuzzleChip* piece, TableMini& mini);
  void ReleaseAlongTrail(bool* cursorChanged, int x, int y);
  void SweepCapture(bool* cursorChanged, int x, int y);
  QPoint DropPoint(int x, int y) const;
  void LayDownOnMini(const ChipList& pieces, TableMini& mini);
  void LayDownOnTable(const ChipList& pieces, bool snapped);
  bool OnlyGroupLeftOnTable(const ChipGroup* group);
  void RefreshActiveMini();
  void Turn(bool right);

  static inline TableSurface* current_ = nullptr;

  TableHost& host_;
  MiniBoard& minis_;
  TablePlayback* playback_;
  RandomSource* random_;
  std::unique_ptr<TablePlayback> ownPlayback_;
  std::unique_ptr<RandomSource> ownRandom_;

  std::unique_ptr<PageBlock> tableBlock_;
  std::unique_ptr<VirtualBuffer> table_;
  ChipList chips_;
  Puzzle* puzzle_ = nullptr;
  std::unique_ptr<VirtualBuffer> previousUnder_;
  std::unique_ptr<VirtualBuffer> currentUnder_;
  std::unique_ptr<ChipSelection> selection_;
  bool selectionMoved_ = false;
  PerformanceStats stats_;
  QPoint pressPoint_;
  bool dragging_ = false;
  bool selectionRegionPending_ = false;
  QTimer flashTimer_;
  std::unique_ptr<QTimer> hintTimer_;
  std::unique_ptr<VirtualBuffer> background_;
  std::unique_ptr<VirtualBuffer> signature_;
  QPoint signaturePlace_;
  std::unique_ptr<VirtualBuffer> magnifier_;
  std::unique_ptr<VirtualBuffer> crossHair_;
  BufferView* magnifierView_ = nullptr;
  QRect hoverBox_;
  TableMini* activeMini_;
  bool miniRefreshOnce_ = true;
  bool overPiece_ = false;
  int hintState_ = 0;
  QPoint hintPoint_;
  bool minisNeedRepaint_ = false;
  bool playing_ = true;
  int miniDropCount_ = 0;
  int captureCount_ = 0;
  // The wheel button is down after capturing a piece (each piece passed is captured too) or
  // after releasing one (the next comes out once the pointer has moved on).
  bool sweepCapture_ = false;
  bool releaseTrail_ = false;
  TableMini* mergedMini_ = nullptr;
  bool joinSoundPending_ = false;
  // While the pieces are laid out or the window changes state, a new window size waits.
  int resizeHolds_ = 0;
  QSize heldResize_;
  // The captured message is on its way: more captures before it shows add no second one.
  bool capturedMessageQueued_ = false;
  // Queued calls of the surface die with it.
  QObject queuedCalls_;
  // Playback paused by PauseUntilIdle, to go on when idle unless suspended meanwhile.
  bool activationPause_ = false;
  // A repaint during playback left presenting to the next step.
  bool presentPending_ = false;
  // The part of the table a drag step changed, presented alone.
  QRect dragPresent_;
};
