#pragma once
// The play area of the main window: it owns the table surface and shows its picture, turns
// the pointer's presses, moves and releases into the surface's input, chooses the pointer's
// shape, plays the join and turn sounds, and offers the commands the main window binds to
// its menus and keys. The wheel is left to the main window. Exactly one exists at a time.

#include "FGPanel.h"
#include "TableHost.h"

#include <QCursor>
#include <QPointer>

#include <memory>

class MainWindowHook;
class MiniBoard;
class Puzzle;
class QMenu;
class SoundEffect;
class TableSurface;

// The pointer shapes the table asks for.
enum class TableCursor { Default, None, Drag, MultiDrag, NoDrop, No, UpArrow };

class TableTop : public FGPanel, public TableHost {
  Q_OBJECT
public:
  // The minis are registered on the board already; its first one starts active.
  TableTop(QWidget* parent, MiniBoard& minis, MainWindowHook* hook = nullptr);
  ~TableTop() override;

  static TableTop* Current() { return current_; }
  TableSurface& Surface() const { return *surface_; }

  // False, loading nothing, for a null puzzle.
  bool SetPuzzle(Puzzle* puzzle);

  // Commands.
  void DropSelection();
  // Lays the carried pieces down at a table point or a drop point of the surface.
  void DropAt(bool ontoMini, int x, int y);
  void Hold();
  void Release();
  void RotateLeft();
  void RotateRight();
  void ShowPopupMenu();
  void Suspend(bool t);
  void Resume(bool t);
  void FreeSoundEffects();
  // Raises a requested table size to the smallest that still holds the largest unit.
  void LimitResize(int* w, int* h) const;
  // The table top's minimum size follows that limit (within the screen's work area), so the
  // window cannot be made too small for the largest group; called whenever groups may grow.
  void FollowLargestUnit();
  // The largest table the desktop's work area leaves room for, with the main menu's height
  // counted in while the menu is hidden.
  QSize AvailableSize() const;
  // Whether the pointer lies on the table (client points beyond a capped table do not).
  bool IsCursorInside() const;
  // Applies a pointer shape; unless keep, it becomes the one asked for outside special places.
  void SetCursor(TableCursor id, bool keep = false);
  // The pointer's shape for the captured pieces.
  static TableCursor CaptureCursor();
  static QCursor CursorShape(TableCursor id);

  // Pointer input in the table top's coordinates, from its own events or forwarded by the
  // mini tables and the magnifier.
  void MousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
  void MouseMoved(QPoint at);
  void MouseReleased(Qt::MouseButton button, QPoint at);

  // The main window's pop-up menu, shown by a right press.
  QPointer<QMenu> PopupMenu;

  // TableHost.
  void Present(const VirtualBuffer& table, const QRect& part) override;
  void PresentParts(const VirtualBuffer& table, const QRegion& parts) override;
  void SetTableColor(int colour) override;
  void EnableMainWindow(bool enabled) override;
  std::unique_ptr<LoadProgress> OpenLoadWindow(bool animated) override;
  QPoint CursorPosition() const override;
  void MoveCursorTo(QPoint tablePoint) override;
  bool IsLeftButtonDown() const override;
  bool IsApplicationActive() const override;
  TableMini* MiniUnderCursor(bool excludeActive) const override;
  QSize ScreenSize() const override;
  void MaximizeMainForm() override;
  void PlaceMainForm(const QRect& bounds) override;
  QSize AvailableArea() const override;

protected:
  void Paint() override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool HasSelection() const;
  QRect TableRect() const;
  void ResizeTable();
  QPoint OverMini(QPoint at) const;
  void PressToPickUp(int button, QPoint at);
  void PlayJoinSound();
  void ShowTip14(QPoint at);
  void EndHangingCapture();

  static inline TableTop* current_ = nullptr;
  static inline QPoint lastMove_{0x7FFFFFFF, 0x7FFFFFFF};

  MiniBoard& minis_;
  MainWindowHook* hook_;
  std::unique_ptr<TableSurface> surface_;
  bool dropPending_ = false;
  QPoint lastDrop_;
  TableCursor cursor_ = TableCursor::Default;
  TableCursor shownCursor_ = TableCursor::Default;
  SoundEffect* joinSound_ = nullptr;
  SoundEffect* turnSound_ = nullptr;
  bool pressPending_ = false;
  QPoint pressPoint_;
  int tableColour_ = 0;
  // The pointer carrying pieces, made once.
  QCursor carrying_;
  QCursor carryingMany_;
};
