#pragma once
// One of the four small tables beside the main one: a scaled thumbnail of a table's worth of
// pieces with a lamp under it. The active mini's pieces lie on the main table and its
// thumbnail mirrors it; an inactive one holds its pieces itself. A click switches a mini onto
// the main table, dragging it onto another table moves all its pieces there, and presses in
// capture mode go on to the table at the matching point.

#include "FGPanel.h"
#include "MiniSurfaceLed.h"
#include "TableMini.h"
#include "puzzle/ChipList.h"

#include <QPointer>

#include <memory>

class MiniBoard;
class PuzzleChip;
class VirtualBuffer;

class MiniSurface : public FGPanel, public TableMini {
  Q_OBJECT
public:
  // Fills the parent panel; registers on the board, whose count gives its index. Its lamp
  // goes below the panel, in the panel's parent.
  MiniSurface(QWidget* parent, MiniBoard& board);
  ~MiniSurface() override;

  // MiniTable and TableMini.
  VirtualBuffer* Buffer() override { return thumbnail_.get(); }
  double ZoomX() const override { return scaleX_; }
  double ZoomY() const override { return scaleY_; }
  void Repaint() override { RepaintFrom(nullptr); }
  int Index() const override { return index_; }
  ChipList& Chips() override { return chips_; }
  void Activate() override;
  bool IsActive() const override { return active_; }
  void RepaintFrom(const VirtualBuffer* source) override;
  void HideHintMarker() override;
  int ShowHintMarker(PuzzleChip* piece) override;
  MiniSurfaceLed& Led() const { return *led_; }
  bool HintMarkerShown() const { return markerShown_; }
  void FollowTableSize(QSize table) override;

  // The main window's commands: the first, last, next or previous mini (wrapping around)
  // comes onto the main table.
  static void SwitchToFirst(const MiniBoard& board);
  static void SwitchToLast(const MiniBoard& board);
  static void SwitchToNext(const MiniBoard& board);
  static void SwitchToPrevious(const MiniBoard& board);
  // The last inactive mini holding the piece, or null.
  static TableMini* FindMiniWithChip(const MiniBoard& board, const PuzzleChip* piece);
  static bool AnyMiniHasChips(const MiniBoard& board);
  // Every inactive mini without pieces shows source.
  static void RepaintEmptyMinis(const MiniBoard& board, const VirtualBuffer* source);

  // The mini under the pointer, scanning from the last (none while minis take no drags).
  static MiniSurface* MiniUnderCursor(const MiniBoard& board, bool excludeActive);
  // Over a mini, point becomes the table point the pointer shows there; false elsewhere.
  static bool CursorToTable(const MiniBoard& board, QPoint& point);

protected:
  void Paint() override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  enum class Drag { None, Pressed, Dragging };

  QPoint ToTable(QPoint at) const;
  bool InCaptureMode(Qt::KeyboardModifiers modifiers) const;
  bool LeftUpHandled();
  void Forward(QMouseEvent* event);
  void PlaceLed();

  MiniBoard& board_;
  std::unique_ptr<VirtualBuffer> thumbnail_;
  ChipList chips_;
  int index_;
  bool active_ = false;
  // Thumbnail size over table size; 0 until both are known (the pointer is then over no
  // table point).
  double scaleX_ = 0;
  double scaleY_ = 0;
  QPointer<MiniSurfaceLed> led_;
  bool markerShown_ = false;
  QPoint marker_;
  std::unique_ptr<VirtualBuffer> savedThumbnail_;
  Drag drag_ = Drag::None;
  QCursor savedCursor_;
  QPoint pressPoint_;
  bool clickPending_ = false;
};
