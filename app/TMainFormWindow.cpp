// The main window as a window: activation, keys and wheel, its place and state, full-screen
// mode, dropped files and closing.

#include "ControlPanel.h"
#include "ReportedWindowState.h"
#include "StateSwitchHold.h"
#include "TableReadyWait.h"
#include "TBoxCoverFrm.h"
#include "TMainForm.h"
#include "WheelTurn.h"
#include "WindowPlacement.h"

#include <algorithm>
#include <cstdlib>

#include "Yelk/GameApplication.h"
#include "Yelk/HourGlass.h"
#include "Yelk/TMsgLog.h"
#include "platform/DroppedFiles.h"
#include "platform/Screens.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/THintFrm.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::WinIdChange) {
    WriteInstanceValues();
    if (reportedState) reportedState->Watch();
  }
  return QMainWindow::event(event);
}

// The table top's minimum (the largest group) becomes the window's, with what is shown around
// the table (menu, control panel): the window manager then cannot make the window too small.
// Counted from what is shown, not from the last layout, so a part shown a moment ago counts.
void TMainForm::TableMinimumChanged() {
  int around = 0;
  if (MainMenu1->isVisibleTo(this)) around += std::max(MainMenu1->height(), MainMenu1->sizeHint().height());
  if (toolPnl->isVisibleTo(this)) around += toolPnl->minimumHeight();
  const QSize smallest = SmallestWindow.expandedTo(Table()->minimumSize() + QSize(0, around));
  if (smallest != minimumSize()) setMinimumSize(smallest);
}

void TMainForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    if (isActiveWindow()) {
      FormActivate();
      Table()->Surface().PauseUntilIdle();
    } else
      FormDeactivate();
  } else if (event->type() == QEvent::WindowStateChange) {
    switchHold->Changed();
    WindowStateChanged(static_cast<QWindowStateChangeEvent*>(event)->oldState());
  }
  QMainWindow::changeEvent(event);
}

void TMainForm::FormActivate() {
  TMsgLog::Add(QStringLiteral("Form Act"));
  Table()->Resume(true);
  if (Puzzle::Current()) toolPnl->TimeStatus->setEnabled(true);
}

// Going to the magnifier or the hint window is not leaving the game.
void TMainForm::FormDeactivate() {
  QWidget* active = QApplication::activeWindow();
  if (qobject_cast<TMagForm*>(active) || qobject_cast<TBoxCoverFrm*>(active) || THintFrm::IsOpen())
    return;
  TMsgLog::Add(QStringLiteral("Form Deact"));
  Table()->Suspend(true);
  if (!Settings()->ShowTodClock) toolPnl->TimeStatus->setEnabled(false);
}

void TMainForm::AppDeactivate() {
  TMsgLog::Add(QStringLiteral("App Deact"));
  Table()->Suspend(true);
  if (!Settings()->ShowTodClock) toolPnl->TimeStatus->setEnabled(false);
}

void TMainForm::AppException(const QString& message, const QStringList& callStack) {
  // An exception while one is shown is not reported again.
  if (handlingException) return;
  handlingException = true;
  SetFullScreen(false);
  GameApplication::DefaultExceptionHandler(message, callStack);
  handlingException = false;
}

// F3 arrives here only while the hint command is disabled; its release still tells the player
// why no hint is given.
void TMainForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F3 && !event->isAutoRepeat()) hintKeyDown = true;
  QMainWindow::keyPressEvent(event);
}

// The Left and Right keys' state, seen before the shortcuts take them.
void TMainForm::TrackArrowKeys(QEvent* event) {
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Left && key->key() != Qt::Key_Right) return;
  if (event->type() == QEvent::KeyRelease) {
    if (!key->isAutoRepeat()) arrowKeyHeld = false;
  } else {
    arrowKeyHeld = true;
  }
}

void TMainForm::keyReleaseEvent(QKeyEvent* event) {
  TableSurface& surface = Table()->Surface();
  switch (event->key()) {
    case Qt::Key_F3:
      if (hintKeyDown && !event->isAutoRepeat() && !atn.HintAtn->isEnabled()) HintAtnExecute();
      hintKeyDown = false;
      break;
    case Qt::Key_Down: surface.TopToBottom(); break;
    case Qt::Key_Up: surface.BottomToTop(); break;
    case Qt::Key_Left:
      if (!atn.RotateLeftAtn->isEnabled()) RotateLeftAtnExecute();
      break;
    case Qt::Key_Right:
      if (!atn.RotateRightAtn->isEnabled()) RotateRightAtnExecute();
      break;
    case Qt::Key_Menu: Table()->ShowPopupMenu(); break;
    default: QMainWindow::keyReleaseEvent(event); return;
  }
  event->accept();
}

void TMainForm::wheelEvent(QWheelEvent* event) {
  WMMouseWheel(event->angleDelta().y());
  event->accept();
}

void TMainForm::WMMouseWheel(int delta) {
  TableSurface& surface = Table()->Surface();
  const int steps = wheel->Take(delta);
  for (int i = 0; i < std::abs(steps); ++i) {
    switch (StepForWheel(steps, surface.Selection() != nullptr, true)) {
      case WheelStep::RotateLeft: RotateLeftAtnExecute(); break;
      case WheelStep::RotateRight: RotateRightAtnExecute(); break;
      case WheelStep::BottomToTop: surface.BottomToTop(); break;
      case WheelStep::TopToBottom: surface.TopToBottom(); break;
      case WheelStep::None: break;
    }
  }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  switchHold->Changed();
  FormResize();
}

void TMainForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  switchHold->Changed();
  FormResize();
}

// The normal window's place and size are kept for the next start. During a switch the window
// manager passes through other places and sizes, full screen's among them: none is recorded.
void TMainForm::FormResize() {
  if (!geometryRestored || windowState() != Qt::WindowNoState || Settings()->FullScreenActive ||
      (switchHold && switchHold->IsHolding()))
    return;
  const QRect r = geometry();
  ProgSettings& settings = *Settings();
  settings.XPosition = r.x();
  settings.YPosition = r.y();
  settings.Width = r.width();
  settings.Height = r.height();
}

// Maximised is recorded however the window got there (title-bar double-click included). The
// saved place comes back only after the state change has been delivered: setting the
// geometry inside it starts a second change while Qt is still laying out the first.
void TMainForm::WindowStateChanged(Qt::WindowStates old) {
  const Qt::WindowStates now = windowState();
  if (Settings()->FullScreenActive || (now & (Qt::WindowMinimized | Qt::WindowFullScreen)) ||
      (old & Qt::WindowFullScreen))
    return;
  // While the window switches to or from full screen the window manager passes through other
  // states; the state it ends in is kept (see SwitchOver).
  if (!switchHold->IsHolding()) Settings()->Maximized = bool(now & Qt::WindowMaximized);
  if (now == Qt::WindowNoState && (old & Qt::WindowMaximized) && restoreAfterFullScreen) {
    restoreAfterFullScreen = false;
    QTimer::singleShot(0, this, [this] {
      if (windowState() != Qt::WindowNoState || Settings()->FullScreenActive) return;
      // Restored by the player, also in the middle of a switch: not maximised again.
      Settings()->Maximized = false;
      RestoreWindowPlacement();
    });
  }
}

// An answer that comes while no switch runs (a late one, or the window manager's own switch)
// is taken at once.
void TMainForm::WindowManagerAnswered() {
  switchHold->Changed();
  if (!switchHold->IsHolding() && !settingFullScreen) FollowWindowManager();
}

void TMainForm::FollowWindowManager() {
  const Qt::WindowStates now = reportedState->State();
  if (now & Qt::WindowMinimized) return;
  ProgSettings& settings = *Settings();
  const bool fullScreen = bool(now & Qt::WindowFullScreen);
  // Full screen hides whether the window is maximised underneath; the window manager brings
  // that back with the frame.
  if (!fullScreen) settings.Maximized = bool(now & Qt::WindowMaximized);
  if (fullScreen == settings.FullScreenActive) return;
  if (fullScreen) restoreAfterFullScreen = settings.Maximized;
  settings.FullScreenActive = fullScreen;
  ShowFullScreenMode(fullScreen);
}

void TMainForm::ShowFullScreenMode(bool on) {
  atn.FullScreenAtn->setChecked(on);
  TMsgLog::Add(QStringLiteral("Full screen mode, on=") + (on ? QStringLiteral("1") : QStringLiteral("0")));
}

void TMainForm::SwitchOver() {
  FollowWindowManager();
  // Out of full screen into a normal window (not maximised meanwhile): its saved place.
  if (leavingFullScreen && reportedState->State() == Qt::WindowNoState) {
    restoreAfterFullScreen = false;
    RestoreWindowPlacement();
  }
  leavingFullScreen = false;
  FormResize();
  Table()->Surface().ReleaseResizes();
}

// The frame (title bar and borders) is brought inside the work area too; before the window
// manager has framed the window, once it is drawn.
void TMainForm::RestoreWindowPlacement() {
  const ProgSettings& settings = *Settings();
  WindowPlacement::PlaceWindow(*this, QRect(settings.XPosition, settings.YPosition, settings.Width, settings.Height));
  if (settings.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
  geometryRestored = true;
}

void TMainForm::SetFullScreen(bool on) {
  ProgSettings& settings = *Settings();
  if (settingFullScreen || on == settings.FullScreenActive) return;
  settingFullScreen = true;
  HourGlass::Scope busy;
  Table()->Suspend(true);
  // Over once the window manager says what was last asked, or at the hold's limit: the
  // game then takes what it says (an ask equal to a stale answer is never sent).
  switchHold->Begin([this] {
    return bool(reportedState->State() & Qt::WindowFullScreen) == Settings()->FullScreenActive;
  });
  leavingFullScreen = !on;
  try {
    settings.FullScreenActive = on;
    if (on) {
      restoreAfterFullScreen = settings.Maximized;
      Screens::EnterFullScreen(this);
    } else {
      if (!settings.Maximized) restoreAfterFullScreen = false;
      Screens::LeaveFullScreen(this);
    }
  } catch (...) {
    settingFullScreen = false;
    switchHold->End();
    Table()->Resume(true);
    throw;
  }
  ShowFullScreenMode(on);
  update();
  Table()->Resume(true);
  settingFullScreen = false;
}

// The windows the game opened beside the main window (help, magnifier, box cover, a note)
// go with it: one left open would keep the process alive with no way back to the game.
void TMainForm::CloseOtherWindows() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window != this && window->isVisible()) window->close();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFiles::HasLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles::LocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  OpenDroppedFile(files.first());
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

// Nothing unsaved can be lost yet: the game is saved by the commands that come later.
bool TMainForm::FormCloseQuery() {
  // A saved game still waiting for the window's size is given up, not waited for.
  if (tableReady->IsWaiting()) {
    tableReady->Stop();
    if (busy) {
      DeleteAllPuzzles();
      FinishOpen(false);
    }
  }
  if (busy) return false;
  Table()->Suspend(true);
  busy = true;
  const bool mayClose = QuerySave();
  busy = false;
  if (!mayClose) Table()->Resume(true);
  return mayClose;
}

void TMainForm::FormClose() {
  ProgSettings& settings = *Settings();
  if (windowState() == Qt::WindowNoState) {
    settings.XPosition = geometry().x();
    settings.YPosition = geometry().y();
  }
  // A file or dialog still waiting to open would show after the game has gone.
  openWanted = false;
  openRetry->stop();
  CloseOtherWindows();
  delete magnifier;
  TableTop* top = Table();
  top->Surface().DestroyProjector();
  top->FreeSoundEffects();
  top->Surface().UnloadPuzzle();
  DeleteAllPuzzles();
  settings.Save();
}
