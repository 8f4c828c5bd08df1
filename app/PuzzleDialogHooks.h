#pragma once
// The note seam of the windows that offer a puzzle's note: empty, the note window shows it;
// a test puts its own in place to see which note would be shown.

#include <QByteArray>
#include <functional>

class QWidget;

struct PuzzleDialogHooks {
  // Shows a puzzle's note read-only, modal over the asking window.
  static inline std::function<void(QWidget*, const QByteArray&)> ShowNote;
};
