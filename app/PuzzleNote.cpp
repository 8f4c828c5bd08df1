#include "PuzzleNote.h"

#include "PuzzleDialogHooks.h"
#include "TNoteFrm.h"

#include "Yelk/Prompt.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"

void ShowPuzzleNote(QWidget* over, Puzzle& puzzle) {
  const JigsawFileReader* file = puzzle.GetJigsawFile();
  if (file && file->NoteHiddenUntilSolved() && puzzle.GetPercentComplete() < 100) {
    Prompt::ShowApp(QStringLiteral("This jigsaw puzzle's note is unavailable until the puzzle is completed."),
                    Prompt::Information);
    return;
  }
  const QByteArray* note = puzzle.GetNoteStream();
  if (!note) return;
  if (PuzzleDialogHooks::ShowNote)
    PuzzleDialogHooks::ShowNote(over, *note);
  else
    ShowNoteWindow(over, *note);
}
