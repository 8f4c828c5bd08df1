#pragma once
// What the table surface needs of the window it lies in: presenting its picture, the table
// colour, the main window around it (enabled while no puzzle loads, its size and place for a
// saved game), the loading window, and the pointer: where it is, its left button, the mini
// table under it, and whether the game has the input. The table top implements it;
// tests put a recording double in.

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <memory>

class LoadProgress;
class TableMini;
class VirtualBuffer;

class TableHost {
public:
  virtual ~TableHost();

  // Shows the table picture; part (table coordinates) is what changed, empty for all of it.
  virtual void Present(const VirtualBuffer& table, const QRect& part) = 0;
  // Shows the parts of the table picture (table coordinates) that changed.
  virtual void PresentParts(const VirtualBuffer& table, const QRegion& parts) {
    for (const QRect& part : parts) Present(table, part);
  }
  // The colour around the table picture, 0x00RRGGBB.
  virtual void SetTableColor(int colour) = 0;
  // Input to the main window is refused while a puzzle loads.
  virtual void EnableMainWindow(bool enabled) = 0;
  // Shows the loading window (its video stage only for animated puzzles) and lets it paint.
  virtual std::unique_ptr<LoadProgress> OpenLoadWindow(bool animated) = 0;
  // The pointer in table coordinates.
  virtual QPoint CursorPosition() const = 0;
  // Puts the pointer on a table point.
  virtual void MoveCursorTo(QPoint tablePoint) = 0;
  virtual bool IsLeftButtonDown() const = 0;
  // Whether the game is the application the player works in.
  virtual bool IsApplicationActive() const = 0;
  // The mini table under the pointer, null when none (or, with excludeActive, the active one).
  virtual TableMini* MiniUnderCursor(bool excludeActive) const = 0;

  // The main window, as a saved game asks for it.
  virtual QSize ScreenSize() const = 0;
  virtual void MaximizeMainForm() = 0;
  virtual void PlaceMainForm(const QRect& bounds) = 0;
  virtual QSize AvailableArea() const = 0;
};

// A window part that shows a picture of the table (the magnifier's panel).
class BufferView {
public:
  virtual ~BufferView();
  virtual void Show(const VirtualBuffer& picture) = 0;
};
