// How puzzles reach and leave the main window: the open routine, the command line and
// hand-overs, drops, the recent list and saving.

#include "BoxCoverControl.h"
#include "CommandLine.h"
#include "ControlPanel.h"
#include "RecentPuzzles.h"
#include "ReportedWindowState.h"
#include "SaveTarget.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"
#include "TPuzzleDialog2.h"
#include "TableReadyWait.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/SavedWindowWish.h"
#include "settings/ProgSettings.h"
#include "platform/Screens.h"
#include "table/MiniSurface.h"
#include "table/TLoadBarForm.h"
#include "table/TableAssembly.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {
bool IsDialogPath(const QString& path) {
  for (const char* ext : {".jig", ".qvp", ".jpg", ".jpeg", ".bmp"})
    if (path.endsWith(QLatin1String(ext), Qt::CaseInsensitive)) return true;
  return false;
}
}  // namespace

// A load, a save or any modal window runs its own event loop: opening then would free
// the puzzle under it, so the file waits its turn.
bool TMainForm::MustWait() const {
  return busy || Prompt::OpenCount() > 0 || TLoadBarForm::LoadIsRunning() ||
         Settings()->ModalPromptUp || (QApplication::activeModalWidget() && !openDialog);
}

// The open dialog is busy with a question of its own (a message box, a file chooser): what
// was dropped or handed over waits for the answer instead of closing the dialog behind it.
bool TMainForm::DialogIsAsking() const {
  return openDialog && (Prompt::OpenCount() > 0 || Settings()->ModalPromptUp ||
                        QApplication::activeModalWidget() != openDialog);
}

void TMainForm::OpenWhenFree() {
  if (!openWanted) return;
  // The dialog gives way and the open runs once it has gone.
  if (openDialog && !DialogIsAsking()) openDialog->reject();
  if (openDialog || MustWait() || tableReady->IsWaiting()) {
    openRetry->start();
    return;
  }
  if (!windowSettled) {
    // A saved game is laid out on the table as it is: the first file waits until the window
    // has been shown at the size it started with (the window manager maximises it a moment
    // after the showing).
    tableReady->Start([this] { return TableReady(); }, [this] {
      windowSettled = true;
      OpenWhenFree();
    });
    return;
  }
  openWanted = false;
  // The dialog empties the initial folder as it closes; a hand-over's folder comes back.
  if (!handOverDir.isEmpty()) Settings()->InitialDir = std::exchange(handOverDir, QString());
  OpenPuzzleBtnClick();
}

void TMainForm::OpenSoon() {
  openWanted = true;
  QTimer::singleShot(0, this, &TMainForm::OpenWhenFree);
}

bool TMainForm::TableReady() const {
  if (!isVisible() || !TableFollowsWindow()) return false;
  return !Settings()->Maximized || Settings()->FullScreenActive || FillsWorkArea();
}

bool TMainForm::TableFollowsWindow() const {
  const TableTop* top = Table();
  const TableSurface& surface = top->Surface();
  return surface.TableBuffer() && !surface.HoldsResizes() &&
         QSize(surface.GetWidth(), surface.GetHeight()) == TableSurface::FitTableSize(top->size());
}

bool TMainForm::FillsWorkArea() const {
  return frameGeometry().width() >= Screens::AvailableNear(frameGeometry()).width();
}

// The window manager's answer comes a moment after the asking; the empty minis then show the
// table at its new size.
void TMainForm::WhenTableReady(const Puzzle& puzzle, std::function<void()> then) {
  const TableSurface& surface = Table()->Surface();
  const SavedWindowWish wish = SavedWindowWish::For(
      puzzle.GetJigsawFile(), QSize(surface.GetWidth(), surface.GetHeight()), Table()->ScreenSize());
  std::function<bool()> reached;
  if (wish.kind == SavedWindowWish::Maximise) {
    MaximizeMainForm();
    reached = [this] { return Settings()->FullScreenActive || FillsWorkArea(); };
  } else if (wish.kind == SavedWindowWish::Place) {
    PlaceMainForm(wish.bounds);
    // Whatever size the work area and the window manager leave it: a saved place may not
    // fit this desktop, and the table it gives decides whether the groups fit.
    reached = [this] {
      return !(reportedState->State() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
    };
  } else {
    then();
    return;
  }
  tableReady->Start([this, reached] { return !isVisible() || (reached() && TableFollowsWindow()); },
                    [this, then] {
                      MiniSurface::RepaintEmptyMinis(table->Board(), Table()->Surface().TableBuffer());
                      then();
                    });
}

void TMainForm::TakeArguments(const QStringList& arguments) {
  if (!arguments.isEmpty())
    TMsgLog::Add(QStringLiteral("Command line: ") + arguments.join(QLatin1Char(' ')));
  const QString path = ParseCommandLine(arguments, *Settings());
  if (!path.isEmpty()) pendingPath = path;
}

// A file, a folder for the dialog, or both: either opens.
void TMainForm::WMCopyData(const QStringList& commandLine) {
  RaiseWindow();
  pendingPath.clear();
  Settings()->InitialDir.clear();
  TakeArguments(commandLine.mid(1));
  handOverDir = Settings()->InitialDir;
  if (!pendingPath.isEmpty() || !handOverDir.isEmpty()) OpenSoon();
}

void TMainForm::OpenDroppedFile(const QString& path) {
  RaiseWindow();
  pendingPath = path;
  openWanted = true;
  OpenWhenFree();
}

void TMainForm::OpenRecentClick(const QString& path) {
  if (path.isEmpty()) return;
  pendingPath = path;
  openWanted = true;
  OpenWhenFree();
}

void TMainForm::OpenPuzzleBtnClick() {
  if (MustWait() || tableReady->IsWaiting()) return;
  busy = true;
  Table()->Suspend(true);
  const QString path = pendingPath;
  Puzzle* puzzle = nullptr;
  if (IsSavedGamePath(path))
    puzzle = OpenSavedGame(path);
  else if (path.isEmpty() || IsDialogPath(path))
    puzzle = OpenFromDialog();
  else
    ReportUnopenable();
  if (!puzzle) {
    FinishOpen(false);
    return;
  }
  // No puzzle is current while the window changes for the new one: the old one's commands go.
  ShowPuzzleState();
  // The puzzle list owns the puzzle; nothing frees it while busy.
  WhenTableReady(*puzzle, [this, puzzle] { FinishOpen(StartPuzzle(puzzle)); });
}

void TMainForm::FinishOpen(bool loaded) {
  if (loaded) {
    Puzzle* puzzle = Puzzle::Current();
    ClockTimerTimer();
    UpdatePiecesStatus();
    boxCover->ShowAtLoad(puzzle);
    // A clipboard puzzle's file goes with the puzzle: it would be a dead entry.
    if (!puzzle->IsFromClipboard()) MoveToTop(Settings()->RecentPuzzles, puzzle->GetPath());
    TMsgLog::Add(QStringLiteral("Loaded: ") + puzzle->GetPath());
    GreetOpenedPuzzle();
  } else {
    Table()->Resume(true);
  }
  ShowPuzzleState();
  busy = false;
}

// Not a puzzle file: the player is told, and the open command stays usable.
void TMainForm::ReportUnopenable() {
  const QString path = std::exchange(pendingPath, QString());
  Puzzle tried(path);  // its failure tells the player what is wrong with the file
}

// A cancelled save question forgets the file: the next open shows the dialog again.
Puzzle* TMainForm::OpenFromDialog() {
  if (!QuerySave()) {
    pendingPath.clear();
    return nullptr;
  }
  repaint();
  TPuzzleDialog2 dlg(this, pendingPath);
  openDialog = &dlg;
  pendingPath.clear();
  std::unique_ptr<Puzzle> chosen;
  if (dlg.exec() == QDialog::Accepted) chosen = dlg.TakePuzzle();
  openDialog = nullptr;
  if (!chosen) return nullptr;
  RemovePuzzleFromList(chosen.get());
  DropCurrentPuzzle();
  Puzzle* puzzle = chosen.release();
  AddPuzzleToList(puzzle);
  return puzzle;
}

Puzzle* TMainForm::OpenSavedGame(const QString& path) {
  if (!QuerySave()) {
    pendingPath.clear();
    return nullptr;
  }
  DropCurrentPuzzle();
  pendingPath.clear();
  auto* puzzle = new Puzzle(path);  // the puzzle list owns it
  if (!puzzle->IsValid()) {
    DeleteAllPuzzles();
    Table()->update();
    return nullptr;
  }
  return puzzle;
}

void TMainForm::DropCurrentPuzzle() {
  autoSavePending = false;
  boxCover->PuzzleGone();
  Table()->Surface().UnloadPuzzle();
  DeleteAllPuzzles();
}

bool TMainForm::StartPuzzle(Puzzle* puzzle) {
  atn.PrintAtn->setEnabled(false);
  if (!Table()->SetPuzzle(puzzle)) {
    Table()->Surface().UnloadPuzzle();
    DeleteAllPuzzles();
    UpdateCaption();
    Table()->update();
    // A mini that held pieces of the failed load must not keep showing them.
    MiniSurface::RepaintEmptyMinis(table->Board(), Table()->Surface().TableBuffer());
    return false;
  }
  atn.SaveAtn->setEnabled(false);
  trackWasPlaying = false;
  puzzle->OnChange = [this](Puzzle&) { PuzzleChanged(); };
  puzzle->OnJoin = [this](Puzzle&) { PuzzleJoined(true); };
  // The new puzzle plays, whatever the last one was doing: the button offers to pause it.
  toolPnl->PlayBtn->setDefaultAction(atn.PauseAtn);
  atn.PauseAtn->setChecked(false);
  ShowPuzzleState();
  ClockTimerTimer();
  PuzzleJoined(false);
  boxCover->PuzzleStarted(puzzle);
  return true;
}

// The actions and panels that need a puzzle on the table follow whether there is one.
void TMainForm::ShowPuzzleState() {
  const bool present = Puzzle::Current() != nullptr;
  for (QAction* action : {atn.SaveAsAtn, atn.ScatterAtn, atn.RotateLeftAtn, atn.RotateRightAtn,
                          atn.MagnifierAtn, atn.NextMiniAtn, atn.PrevMiniAtn, atn.FirstMiniAtn,
                          atn.LastTableAtn, atn.BoxCoverAtn})
    action->setEnabled(present);
  if (!present) atn.SaveAtn->setEnabled(false);
  UpdatePuzzleActions();
  toolPnl->PiecesStatus->setEnabled(present);
  toolPnl->TimeStatus->setEnabled(present || Settings()->ShowTodClock);
  UpdatePiecesStatus();
  UpdateCaption();
  update();
}

bool TMainForm::QuerySave() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle || !puzzle->IsChanged()) return true;
  const QString text = puzzle->GetPercentComplete() >= 100
                           ? QStringLiteral("Do you want to save the completed puzzle?")
                           : QStringLiteral("Do you want to save your changes to the current puzzle?");
  switch (Prompt::ShowApp(text, Prompt::Question, Prompt::Yes | Prompt::No | Prompt::Cancel)) {
  case Prompt::Yes: return SavePuzzle(false, false);
  case Prompt::No: return true;
  default: return false;
  }
}

void TMainForm::SaveAtnExecute() { SavePuzzle(false); }

void TMainForm::SaveAsAtnExecute() { SavePuzzle(true); }

bool TMainForm::SavePuzzle(bool saveAs, bool guard) {
  if (guard && busy) return false;
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle || (!saveAs && !puzzle->IsChanged())) return true;
  if (PuzzleChip::CapturedList().CountUnits() > 0) {
    Prompt::ShowApp(QStringLiteral("Captured puzzle pieces must be released before "
                                   "saving a puzzle.\n\nUse the middle mouse button to "
                                   "release puzzle pieces\n(or use the left mouse button "
                                   "while holding down the Shift key)."));
    return false;
  }
  const bool wasBusy = busy;
  busy = true;
  Table()->DropSelection();
  QString target = SaveTarget(*puzzle);
  if (saveAs || target.isEmpty()) target = AskSavePath(*puzzle, target);
  const bool saved = !target.isEmpty() && WriteGame(*puzzle, target);
  busy = wasBusy;
  return saved;
}

QString TMainForm::AskSavePath(const Puzzle& puzzle, const QString& target) {
  ProgSettings& settings = *Settings();
  const QString folder = settings.UsePreviousSaveFolder && !settings.SavePuzzleFolder.isEmpty()
                             ? settings.SavePuzzleFolder
                             : settings.DefaultSaveFolder;
  const QString name =
      QFileInfo(target.isEmpty() ? puzzle.GetPath() : target).completeBaseName() +
      QStringLiteral(".saw");
  QFileDialog save(this, QString(), QDir(folder).filePath(name),
                   QStringLiteral("Jigsaw puzzle files (*.saw)"));
  save.setAcceptMode(QFileDialog::AcceptSave);
  save.setDefaultSuffix(QStringLiteral("saw"));
  if (Prompt::IsScripted()) save.setOption(QFileDialog::DontUseNativeDialog);
  if (save.exec() != QDialog::Accepted || save.selectedFiles().isEmpty()) return {};
  const QString chosen = WithSawExtension(save.selectedFiles().constFirst());
  const QString chosenFolder = QFileInfo(chosen).absolutePath();
  if (QFileInfo(chosenFolder).isDir()) settings.SavePuzzleFolder = chosenFolder;
  repaint();
  return chosen;
}

bool TMainForm::WriteGame(Puzzle& puzzle, const QString& target) {
  SavedWindowState window;
  window.mainWindow = normalGeometry();
  window.maximised = isMaximized();
  window.boxCover = TBoxCoverFrm::SavedPlace();
  if (!JigsawFile::SaveFile(target, puzzle, window)) return false;
  atn.SaveAtn->setEnabled(false);
  puzzle.ClearChanged();
  const bool complete = puzzle.GetPercentComplete() >= 100;
  RecordSave(Settings()->RecentPuzzles, puzzle.GetPath(), target, complete);
  Settings()->PrevSaveUnfinished = !complete;
  UpdateCaption();
  return true;
}
