#pragma once
// What the table top asks of the main window around it: refusing input while a puzzle loads,
// its size and place as a saved game wants them, and the status line. The main window
// implements it; without one the table top moves its own top-level window and shows no status.

#include <QRect>
#include <QString>

class MainWindowHook {
public:
  virtual ~MainWindowHook() = default;

  virtual void EnableMainWindow(bool enabled) = 0;
  // The window updates and repaints the empty mini tables after either.
  virtual void MaximizeMainForm() = 0;
  virtual void PlaceMainForm(const QRect& bounds) = 0;
  virtual void ShowStatus(const QString& text) = 0;
  // The table top's minimum size changed (the largest group grew or the puzzle changed).
  virtual void TableMinimumChanged() {}
};
