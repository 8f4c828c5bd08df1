#pragma once
// Showing a puzzle's note from any window that offers it: withheld, with a word to the
// player, while the file hides it until the puzzle is completed; otherwise the note window
// over the asking window.

class Puzzle;
class QWidget;

void ShowPuzzleNote(QWidget* over, Puzzle& puzzle);
