// The main window's commands for the table, the window's parts and help.

#include "ControlPanel.h"
#include "TMainForm.h"

#include "Yelk/HourGlass.h"
#include "Yelk/TMsgLog.h"
#include "controls/WhatsThis.h"
#include "puzzle/Puzzle.h"
#include "puzzle/TipDisplay.h"
#include "platform/HelpWindow.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/TMagForm.h"
#include "table/TableAssembly.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <memory>

namespace {
constexpr int RotateTip = 2;
constexpr int PanelHiddenTip = 10;
constexpr int WheelRotateTip = 24;
}  // namespace

void TMainForm::ExitAtnExecute() { close(); }

void TMainForm::FullScreenAtnExecute() { SetFullScreen(!Settings()->FullScreenActive); }

void TMainForm::ScatterAtnExecute() { Table()->Surface().Scatter(); }

// A menu item or button teaches nothing about the keys: the rotation tip is offered then.
// Keys and the wheel mean the player knows.
void TMainForm::OfferRotationTip(bool fromMenu) {
  if (fromMenu && !arrowKeyHeld) {
    if (!Settings()->UpsideRight) TipDisplay::Show(RotateTip);
  } else {
    TipDisplay::MarkUsed(RotateTip);
    TipDisplay::MarkUsed(WheelRotateTip);
  }
}

void TMainForm::RotateLeftAtnExecute() {
  Table()->RotateLeft();
  OfferRotationTip(sender() != nullptr);
}

void TMainForm::RotateRightAtnExecute() {
  Table()->RotateRight();
  OfferRotationTip(sender() != nullptr);
}

void TMainForm::MagnifierAtnExecute() {
  if (magnifier) {
    magnifier->close();
    return;
  }
  magnifier = new TMagForm(this, Table());
  magnifier->setAttribute(Qt::WA_DeleteOnClose);
  magnifier->installEventFilter(this);
  connect(magnifier, &QObject::destroyed, this, [this] {
    atn.MagnifierAtn->setChecked(false);
    TMsgLog::Add(QStringLiteral("Magnifier hidden"));
  });
  magnifier->show();
  atn.MagnifierAtn->setChecked(true);
  TMsgLog::Add(QStringLiteral("Magnifier visible"));
}

// Closing the magnifier keeps its place for the next one.
void TMainForm::StoreMagnifierPlace() {
  if (!magnifier) return;
  const QRect place = magnifier->geometry();
  ProgSettings& settings = *Settings();
  settings.MagnifierLeft = place.x();
  settings.MagnifierTop = place.y();
  settings.MagnifierWidth = place.width();
  settings.MagnifierHeight = place.height();
}

void TMainForm::MiniAtnExecute(QAction* which) {
  const MiniBoard& board = table->Board();
  if (which == atn.NextMiniAtn)
    MiniSurface::SwitchToNext(board);
  else if (which == atn.PrevMiniAtn)
    MiniSurface::SwitchToPrevious(board);
  else if (which == atn.FirstMiniAtn)
    MiniSurface::SwitchToFirst(board);
  else
    MiniSurface::SwitchToLast(board);
}

void TMainForm::AlignCtrlPnlTopAtnExecute() {
  auto* column = static_cast<QBoxLayout*>(centralWidget()->layout());
  column->removeWidget(toolPnl);
  column->insertWidget(0, toolPnl);
  toolPnl->SetAlignedTop(true);
  atn.AlignCtrlPnlTopAtn->setChecked(true);
  Settings()->AlignControlPanelToBottom = false;
}

void TMainForm::AlignCtrlPnlBotAtnExecute() {
  auto* column = static_cast<QBoxLayout*>(centralWidget()->layout());
  column->removeWidget(toolPnl);
  column->addWidget(toolPnl);
  toolPnl->SetAlignedTop(false);
  atn.AlignCtrlPnlBotAtn->setChecked(true);
  Settings()->AlignControlPanelToBottom = true;
}

// The busy state ends once: before the reminder when it shows, else at the end.
void TMainForm::ToggleMenuAtnExecute() {
  auto busy = std::make_unique<HourGlass::Scope>();
  const bool show = !Settings()->ShowMainMenu;
  MainMenu1->setVisible(show);
  atn.ToggleMenuAtn->setChecked(show);
  Settings()->ShowMainMenu = show;
  TableMinimumChanged();
  TMsgLog::Add(QStringLiteral("Toggle main menu ") + (show ? QStringLiteral("on") : QStringLiteral("off")));
  if (show) return;
  busy.reset();
  RemindOfF11();
}

void TMainForm::ToggleCtrlPnlAtnExecute() {
  auto busy = std::make_unique<HourGlass::Scope>();
  const bool show = !Settings()->ControlPanelVisible;
  toolPnl->setVisible(show);
  atn.ToggleCtrlPnlAtn->setChecked(show);
  Settings()->ControlPanelVisible = show;
  TableMinimumChanged();
  TMsgLog::Add(QStringLiteral("Toggle control panel ") + (show ? QStringLiteral("on") : QStringLiteral("off")));
  if (show) return;
  busy.reset();
  RemindOfF11();
  if (Puzzle::Current()) TipDisplay::Show(PanelHiddenTip);
}

void TMainForm::SoundEffectsAtnExecute() {
  Settings()->SoundEffects = atn.SoundEffectsAtn->isChecked();
}

void TMainForm::HelpContentsAtnExecute() {
  Table()->Suspend(true);
  HelpWindow::Instance()->ShowTopic(QStringLiteral("Contents"));
}

void TMainForm::HelpWhatsBtnAtnExecute() { WhatsThis::Begin(); }

void TMainForm::OptionsAtnExecute() { ShowMenuAt(OptionsPopup, toolPnl->OptionsBtn); }

void TMainForm::HelpPopupAtnExecute() { ShowMenuAt(HelpPopup, toolPnl->HelpBtn); }
