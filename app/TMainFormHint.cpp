// The hint command: which piece asks, the hint window, and where its neighbour is shown.

#include "TMainForm.h"

#include "Yelk/Prompt.h"
#include "puzzle/ChipList.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "table/ChipSelection.h"
#include "table/MiniSurface.h"
#include "table/THintFrm.h"
#include "table/TableAssembly.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include "ControlPanel.h"

namespace {
QString NoHintsLeft(int allowed) {
  if (allowed == 0) return QStringLiteral("No hints are allowed for this puzzle.");
  if (allowed == 1) return QStringLiteral("This puzzle's one allowed hint has already been used.");
  return QStringLiteral("This puzzle's %1 allowed hints have already been used.").arg(allowed);
}

QString HintsRemaining(int allowed, int used) {
  return allowed < 0 ? QStringLiteral("Hints remaining: Unlimited")
                     : QStringLiteral("Hints remaining:  %1").arg(allowed - used);
}
}  // namespace

PuzzleChip* TMainForm::PieceUnderMouse() const {
  if (!Puzzle::Current() || !Table()->IsCursorInside()) return nullptr;
  const QPoint at = Table()->CursorPosition();
  return Table()->Surface().GetChipList().HitTest(at.x(), at.y());
}

void TMainForm::HintAtnExecute() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  const int allowed = puzzle->GetHintLimit();
  const int used = puzzle->GetHintsUsed();
  if (allowed >= 0 && used >= allowed) {
    Prompt::ShowApp(NoHintsLeft(allowed), Prompt::Information);
    return;
  }
  TableSurface& surface = Table()->Surface();
  PuzzleChip* piece = surface.Selection() ? surface.Selection()->ClickedPiece() : PieceUnderMouse();
  if (!piece) {
    Prompt::ShowApp(QStringLiteral("Move the mouse over a puzzle piece to use the hint feature.\n\n") +
                        HintsRemaining(allowed, used),
                    Prompt::Information);
    return;
  }
  PuzzleChip* neighbour = nullptr;
  {
    THintFrm ask(this, piece);
    if (ask.ShowModal() != QDialog::Accepted) return;
    neighbour = ask.Result();
  }
  if (!neighbour) return;
  if (surface.Selection()) Table()->DropAt(false, TableSurface::AtSelection, TableSurface::AtSelection);
  if (!BringNeighbourIntoView(neighbour)) return;
  puzzle->UseHint();
  UpdatePiecesStatus();
  UpdateHintAtn();
}

// Marks the neighbour on this table or on its mini table; false when it was not shown and
// the hint is not used.
bool TMainForm::BringNeighbourIntoView(PuzzleChip* neighbour) {
  if (PuzzleChip::CapturedList().Contains(neighbour)) {
    Prompt::ShowApp(QStringLiteral("The indicated neighboring puzzle piece\nis \"captured\" by the mouse."),
                    Prompt::Information);
    return false;
  }
  TableSurface& surface = Table()->Surface();
  if (surface.GetChipList().Contains(neighbour)) {
    surface.GetChipList().BringToFront(neighbour);
    return surface.ShowChipHint(neighbour);
  }
  TableMini* mini = MiniSurface::FindMiniWithChip(table->Board(), neighbour);
  if (!mini) return false;
  if (!toolPnl->isVisible()) {
    Prompt::ShowApp(QStringLiteral("The indicated neighboring puzzle piece is located on another table."),
                    Prompt::Information);
    return false;
  }
  return surface.ShowMiniHint(*mini, neighbour);
}
