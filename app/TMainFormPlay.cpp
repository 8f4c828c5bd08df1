// The main window during play: the clock, the piece count, auto save and completion.

#include "ControlPanel.h"
#include "PuzzleNote.h"
#include "SaveTarget.h"
#include "TMainForm.h"

#include "Yelk/Prompt.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/SoundTrack.h"
#include "settings/ProgSettings.h"
#include "table/SoundEffect.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLocale>
#include <QTime>
#include <QTimer>

namespace {
constexpr int ApplauseSoundId = 8002;
}

void TMainForm::BuildPlayTimers() {
  openRetry = new QTimer(this);
  openRetry->setSingleShot(true);
  openRetry->setInterval(100);
  connect(openRetry, &QTimer::timeout, this, &TMainForm::OpenWhenFree);
  clockTimer = new QTimer(this);
  connect(clockTimer, &QTimer::timeout, this, &TMainForm::ClockTimerTimer);
  SetClockInterval();
  clockTimer->start();
  autoSaveTimer = new QTimer(this);
  connect(autoSaveTimer, &QTimer::timeout, this, &TMainForm::AutoSaveTimerTimer);
  applauseTimer = new QTimer(this);
  applauseTimer->setSingleShot(true);
  applauseTimer->setInterval(250);
  connect(applauseTimer, &QTimer::timeout, this, &TMainForm::ApplauseTimerTimer);
  for (auto [minutes, action] : {std::pair{0, atn.AutoSaveOffAtn},
                                 {1, atn.AutoSave_1_Atn},
                                 {5, atn.AutoSave_5_Atn},
                                 {10, atn.AutoSave_10_Atn},
                                 {20, atn.AutoSave_20_Atn}}) {
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, m = minutes] { AutoSaveAtnExecute(m); });
  }
  AutoSaveAtnExecute(Settings()->AutoSaveInterval);
  toolPnl->TimeStatus->installEventFilter(this);
  toolPnl->PiecesStatus->installEventFilter(this);
  TimeStatusClick(false);
  PiecesStatusClick(false);
  ClockTimerTimer();  // the time of day shows from the start, not after the first tick
}

// A click on a status panel switches what it shows; the magnifier's place is kept as it closes.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && watched == magnifier) StoreMagnifierPlace();
  if (event->type() == QEvent::MouseButtonRelease) {
    if (watched == toolPnl->TimeStatus) TimeStatusClick(true);
    if (watched == toolPnl->PiecesStatus) PiecesStatusClick(true);
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::TimeStatusClick(bool toggle) {
  ProgSettings& settings = *Settings();
  if (toggle) {
    settings.ShowTodClock = !settings.ShowTodClock;
    ClockTimerTimer();
  }
  toolPnl->TimeStatus->setToolTip(settings.ShowTodClock ? QStringLiteral("Time of Day")
                                                        : QStringLiteral("Elapsed Time Clock"));
}

void TMainForm::PiecesStatusClick(bool toggle) {
  ProgSettings& settings = *Settings();
  if (toggle) {
    settings.ShowHintsStat = !settings.ShowHintsStat;
    UpdatePiecesStatus();
  }
  toolPnl->PiecesStatus->setToolTip(settings.ShowHintsStat
                                        ? QStringLiteral("Number of Available Puzzle Hints Remaining")
                                        : QStringLiteral("Number of Solved Pieces and Total Pieces"));
}

void TMainForm::SetClockInterval() { clockTimer->setInterval(Settings()->ShowSeconds ? 1000 : 5000); }

void TMainForm::ClockTimerTimer() {
  const ProgSettings& settings = *Settings();
  QString text;
  if (settings.ShowTodClock)
    text = QLocale().toString(QTime::currentTime(), QLocale::ShortFormat).toLower();
  else if (const Puzzle* puzzle = Puzzle::Current())
    text = puzzle->FormatElapsed(false);
  else
    text = settings.ShowSeconds ? QStringLiteral("0 h 00 m 00 s") : QStringLiteral("0 h 00 m");
  toolPnl->TimeStatus->setText(text);
}

int TMainForm::SolvedPieces(const Puzzle& puzzle) {
  // The first join places two pieces.
  return puzzle.GetJoins() > 0 ? puzzle.GetJoins() + 1 : 0;
}

void TMainForm::UpdatePiecesStatus() {
  const Puzzle* puzzle = Puzzle::Current();
  QString text;
  if (Settings()->ShowHintsStat) {
    if (!puzzle)
      text = QStringLiteral("0 hints");
    else if (puzzle->GetHintLimit() < 0)
      text = QStringLiteral("Unlimited");
    else
      text = QStringLiteral("%1 hints").arg(puzzle->GetHintLimit() - puzzle->GetHintsUsed());
  } else {
    text = puzzle ? QStringLiteral("%1 of %2").arg(SolvedPieces(*puzzle)).arg(puzzle->GetPieceCount())
                  : QStringLiteral("0 of 0");
  }
  toolPnl->PiecesStatus->setText(text);
}

void TMainForm::PuzzleJoined(bool joined) {
  UpdatePiecesStatus();
  Puzzle* puzzle = Puzzle::Current();
  if (!joined || !puzzle || SolvedPieces(*puzzle) < puzzle->GetPieceCount()) return;
  puzzle->StopClock(true);
  ClockTimerTimer();
  applauseTimer->start();
}

// Music and applause only with sound effects on; the bevel goes on every completion.
void TMainForm::ApplauseTimerTimer() {
  const ProgSettings& settings = *Settings();
  if (settings.SoundEffects && !settings.SuppressApplause) {
    if (SoundTrack* track = SoundTrack::Current()) {
      trackWasPlaying = track->IsPlaying();
      track->Stop();
    }
    delete applause;
    applause = new SoundEffect(ApplauseSoundId, Table());
    applause->OnDone = [this] { QTimer::singleShot(0, this, &TMainForm::ApplauseDone); };
    applause->Play();
    ++applauseCount;
  }
  Puzzle* puzzle = Puzzle::Current();
  if (settings.AutoRemoveBevel && puzzle && puzzle->IsBevelOn()) {
    puzzle->SetBevelOn(false);
    if (BevelFilter* bevel = puzzle->GetBevel()) bevel->Apply(TableSurface::GetDirtyRegions());
    Table()->Surface().Refresh();
  }
  // A note its maker asked to show at the end opens once the applause has begun.
  const JigsawFileReader* file = puzzle ? puzzle->GetJigsawFile() : nullptr;
  if (file && file->NoteShownWhenSolved()) ShowPuzzleNote(this, *puzzle);
}

void TMainForm::ApplauseDone() {
  delete applause;
  applause = nullptr;
  if (!trackWasPlaying) return;
  trackWasPlaying = false;
  if (SoundTrack* track = SoundTrack::Current()) track->Play();
}

void TMainForm::PuzzleChanged() {
  const Puzzle* puzzle = Puzzle::Current();
  atn.SaveAtn->setEnabled(puzzle && puzzle->IsChanged());
  if (autoSavePending) {
    autoSavePending = false;
    AutoSaveTimerTimer();
  }
}

void TMainForm::AutoSaveAtnExecute(int minutes) {
  for (auto [m, action] : {std::pair{0, atn.AutoSaveOffAtn},
                           {1, atn.AutoSave_1_Atn},
                           {5, atn.AutoSave_5_Atn},
                           {10, atn.AutoSave_10_Atn},
                           {20, atn.AutoSave_20_Atn}})
    action->setChecked(m == minutes);
  if (minutes > 0) {
    autoSaveTimer->start(minutes * 60000);
  } else {
    autoSaveTimer->stop();
    autoSavePending = false;
  }
  Settings()->AutoSaveInterval = minutes;
}

// Never prompts and never re-enters a load or save: while one runs, or pieces are picked
// up, the save waits for the puzzle's next change.
void TMainForm::AutoSaveTimerTimer() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle || !puzzle->IsChanged()) return;
  if (busy || MustWait() || Table()->Surface().Selection()) {
    autoSavePending = true;
    return;
  }
  if (SaveTarget(*puzzle).isEmpty() || PuzzleChip::CapturedList().CountUnits() > 0) return;
  SavePuzzle(false);
}
