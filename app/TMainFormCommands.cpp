// The main window's commands that work so far.

#include "ControlPanel.h"
#include "TMainForm.h"

#include "controls/WhatsThis.h"
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

void TMainForm::ExitAtnExecute() { close(); }

void TMainForm::FullScreenAtnExecute() { SetFullScreen(!Settings()->FullScreenActive); }

void TMainForm::ScatterAtnExecute() { Table()->Surface().Scatter(); }

void TMainForm::RotateLeftAtnExecute() { Table()->RotateLeft(); }

void TMainForm::RotateRightAtnExecute() { Table()->RotateRight(); }

void TMainForm::MagnifierAtnExecute() {
  if (magnifier) {
    delete magnifier;
    atn.MagnifierAtn->setChecked(false);
    return;
  }
  magnifier = new TMagForm(this, Table());
  connect(magnifier, &QObject::destroyed, this, [this] { atn.MagnifierAtn->setChecked(false); });
  magnifier->show();
  atn.MagnifierAtn->setChecked(true);
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

void TMainForm::ToggleMenuAtnExecute() {
  const bool show = !MainMenu1->isVisible();
  MainMenu1->setVisible(show);
  atn.ToggleMenuAtn->setChecked(show);
  Settings()->ShowMainMenu = show;
  if (!show) RemindOfF11();
}

void TMainForm::ToggleCtrlPnlAtnExecute() {
  const bool show = !toolPnl->isVisible();
  toolPnl->setVisible(show);
  atn.ToggleCtrlPnlAtn->setChecked(show);
  Settings()->ControlPanelVisible = show;
  if (!show) RemindOfF11();
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

// Above the button while the panel is at the bottom, below it at the top.
void TMainForm::ShowMenuAt(QMenu* menu, QWidget* button) {
  const bool bottom = Settings()->AlignControlPanelToBottom;
  const QSize size = menu->sizeHint();
  const QPoint corner =
      button->mapToGlobal(bottom ? QPoint(0, -size.height()) : QPoint(0, button->height()));
  menu->popup(corner);
}
