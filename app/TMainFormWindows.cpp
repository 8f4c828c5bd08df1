// The main window's sponsor and the small windows it opens: about, system information,
// the advanced options.

#include "ControlPanel.h"
#include "SnapLed.h"
#include "Sponser.h"
#include "TAboutForm.h"
#include "TAdvancedOptsFrm.h"
#include "TF11Dlg.h"
#include "TMainForm.h"
#include "TSysInfoFrm.h"

#include "Yelk/DesktopUtils.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/Puzzle.h"
#include "settings/ProgSettings.h"
#include "table/TableTop.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>

void TMainForm::ShowSponsor() {
  TMsgLog::Add(QStringLiteral("Spnsr: ") + sponsor->Id);
  if (!sponsor->HasLink()) return;
  // "A & B" is a name, not a mnemonic.
  QString name = sponsor->Name;
  atn.SponserAtn->setText(QStringLiteral("V&isit ") + name.replace(QLatin1Char('&'), QStringLiteral("&&")));
  if (!sponsor->Icon().isNull()) atn.SponserAtn->setIcon(QIcon(QPixmap::fromImage(sponsor->Icon())));
  atn.SponserAtn->setVisible(true);
  atn.SponserAtn->setEnabled(true);
  atn.SponserSeparator->setVisible(true);
}

// Menu and control panel both hidden: F11 brings the panel back, which the player is told
// until they say not to.
void TMainForm::RemindOfF11() {
  ProgSettings& settings = *Settings();
  if (settings.ShowMainMenu || settings.ControlPanelVisible || settings.HideF11Message) return;
  settings.HideF11Message = TF11Dlg::Remind(this);
}

void TMainForm::SponserAtnExecute() {
  Table()->Suspend(true);
  OpenURL(sponsor->URL);
}

void TMainForm::AboutAtnExecute() {
  TAboutForm about(this);
  about.exec();
}

void TMainForm::SysInfoAtnExecute() {
  TSysInfoFrm info(this);
  info.exec();
}

void TMainForm::AdvancedAtnExecute() {
  Table()->Suspend(true);
  TAdvancedOptsFrm options(this);
  if (options.exec() == QDialog::Accepted) {
    ClockTimerTimer();
    toolPnl->ProximityLed->SetUseCaption(Settings()->SnapLedInTitle);
    if (Puzzle::Current()) UpdateCaption();
    SetClockInterval();
  }
  Table()->Resume(true);
}
