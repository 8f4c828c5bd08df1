#pragma once
// What the open dialog asks of windows built elsewhere: the Create tab's note, music and
// box-cover choices and the writing of a still puzzle, and the note window. Each stays
// empty (the button does nothing, the note is not shown) until its window registers.

#include <QByteArray>
#include <functional>

class QWidget;

struct PuzzleDialogHooks {
  // The Create tab's buttons; the argument is the dialog.
  static inline std::function<void(QWidget*)> NoteButton;
  static inline std::function<void(QWidget*)> MusicButton;
  static inline std::function<void(QWidget*)> CoverButton;
  // Writes the still puzzle the Create tab describes; true when it was written.
  static inline std::function<bool(QWidget*)> SaveStillPuzzle;
  // Shows a puzzle's note read-only, modal over the dialog.
  static inline std::function<void(QWidget*, const QByteArray&)> ShowNote;
};
