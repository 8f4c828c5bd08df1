// The main window's option and tool commands: play and pause, printing, sounds, button
// hints, the table's colour and bevel, the volume tool, the web pages, the logs and the
// hidden notice.

#include "ControlPanel.h"
#include "CustomColors.h"
#include "MakerAddresses.h"
#include "PuzzleNote.h"
#include "SnapLed.h"
#include "TMainForm.h"

#include "Yelk/DesktopUtils.h"
#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "controls/OstrevPanel.h"
#include "imaging/VirtualBuffer.h"
#include "platform/HelpViewer.h"
#include "platform/ProgramStarter.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/Puzzle.h"
#include "puzzle/SoundTrack.h"
#include "puzzle/TipDisplay.h"
#include "settings/ProgSettings.h"
#include "table/TMagForm.h"
#include "table/TableSurface.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QStandardPaths>
#include <QToolButton>

#include <functional>

namespace {
constexpr int DefaultBackground = 0x7599B9;
constexpr int ColourTip = 7;
constexpr int ColourTipLater = 8;
constexpr int NoticePresses = 5;
const QString ErrorLogName = QStringLiteral("ExcMagic.Log");

// Over the whole application: swallows tool tips while button hints are off, and shows the
// window the keys before their shortcuts take them.
class AppEventWatch : public QObject {
public:
  explicit AppEventWatch(std::function<void(QEvent*)> onKey) : onKey(std::move(onKey)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ToolTip: return !Settings()->ShowHints;
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress:
      case QEvent::KeyRelease: onKey(event); return false;
      default: return false;
    }
  }

private:
  std::function<void(QEvent*)> onKey;
};
}  // namespace

void TMainForm::WireCommands() {
  auto bind = [this](QAction* action, auto handler) {
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, handler);
  };
  connect(atn.PlayAtn, &QAction::triggered, this, &TMainForm::PlayAtnExecute);
  connect(atn.PauseAtn, &QAction::triggered, this, &TMainForm::PauseAtnExecute);
  connect(atn.PrintAtn, &QAction::triggered, this, &TMainForm::PrintAtnExecute);
  connect(atn.HoldAtn, &QAction::triggered, this, &TMainForm::HoldAtnExecute);
  connect(atn.ReleaseAtn, &QAction::triggered, this, &TMainForm::ReleaseAtnExecute);
  connect(atn.BackAtn, &QAction::triggered, this, &TMainForm::BackAtnExecute);
  connect(atn.HintAtn, &QAction::triggered, this, &TMainForm::HintAtnExecute);
  connect(atn.NoteAtn, &QAction::triggered, this, &TMainForm::NoteAtnExecute);
  for (QAction* bevel : {atn.BevelNormalAtn, atn.BevelLightAtn, atn.BevelOffAtn})
    connect(bevel, &QAction::triggered, this, [this, bevel] { BevelAtnExecute(bevel); });
  for (QAction* bevel : {atn.BevelNormalDefAtn, atn.BevelLightDefAtn, atn.BevelOffDefAtn})
    bind(bevel, [this, bevel] { BevelDefAtnExecute(bevel); });
  bind(atn.BkgdSndEnabledAtn, &TMainForm::BkgdSndEnabledAtnExecute);
  bind(atn.ShowHintsAtn, &TMainForm::ShowHintsAtnExecute);
  bind(atn.ColorAtn, &TMainForm::ColorAtnExecute);
  bind(atn.DefColorAtn, &TMainForm::DefColorAtnExecute);
  bind(atn.AutoRemoveBevelAtn, &TMainForm::AutoRemoveBevelAtnExecute);
  bind(atn.VolumeAtn, &TMainForm::VolumeAtnExecute);
  bind(atn.WebSiteAtn, [this] { WebAtnExecute(MakerAddresses::HomePage()); });
  bind(atn.WebSupportAtn, [this] { WebAtnExecute(MakerAddresses::SupportPage()); });
  bind(atn.WebVersionAtn, [this] { WebAtnExecute(MakerAddresses::VersionUrl()); });
  bind(atn.ErrLogAtn, &TMainForm::ErrLogAtnExecute);
  bind(atn.ShowMsgLog, &TMainForm::ShowMsgLogExecute);
  bind(atn.CopyAtn, &TMainForm::CopyAtnExecute);
  atn.Test->setEnabled(true);  // a key kept for trials: it does nothing
  for (auto [led, topic] : {std::pair<SmallLed*, int>{toolPnl->ProximityLed, 210},
                            {toolPnl->YellowLed, 180},
                            {toolPnl->GreenLed, 190}})
    connect(led, &SmallLed::clicked, this, [this, topic = topic] { LedClick(topic); });
  toolTipSwitch = std::make_unique<AppEventWatch>([this](QEvent* event) { TrackArrowKeys(event); });
  qApp->installEventFilter(toolTipSwitch.get());
}

void TMainForm::PlayAtnExecute() {
  Table()->Resume(false);
  toolPnl->PlayBtn->setDefaultAction(atn.PauseAtn);
  atn.PauseAtn->setChecked(false);
}

void TMainForm::PauseAtnExecute() {
  if (toolPnl->PlayBtn->defaultAction() != atn.PauseAtn) return PlayAtnExecute();
  Table()->Suspend(false);
  toolPnl->PlayBtn->setDefaultAction(atn.PlayAtn);
  atn.PauseAtn->setChecked(true);
}

void TMainForm::PrintAtnExecute() {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  if (VirtualBuffer* picture = puzzle->GetImage(false)) picture->Print(this);
}

void TMainForm::HoldAtnExecute() { Table()->Hold(); }

void TMainForm::ReleaseAtnExecute() { Table()->Release(); }

void TMainForm::BackAtnExecute() {
  Table()->DropAt(false, TableSurface::AtSelection, TableSurface::AtSelection);
  Table()->Surface().TopToBottom();
}

void TMainForm::NoteAtnExecute() {
  if (Puzzle* puzzle = Puzzle::Current()) ShowPuzzleNote(this, *puzzle);
}

void TMainForm::BkgdSndEnabledAtnExecute() {
  const bool on = atn.BkgdSndEnabledAtn->isChecked();
  Settings()->EnableBackgroundSound = on;
  const bool canPlay = CanPlayBackgroundSound();
  atn.PlayAtn->setEnabled(canPlay);
  atn.PauseAtn->setEnabled(canPlay);
  SoundTrack* track = SoundTrack::Current();
  if (!track) return;
  if (on && toolPnl->PlayBtn->defaultAction() == atn.PauseAtn)
    track->Play();
  else
    track->Stop();
}

void TMainForm::ShowHintsAtnExecute() { Settings()->ShowHints = atn.ShowHintsAtn->isChecked(); }

void TMainForm::ColorAtnExecute() {
  ProgSettings& settings = *Settings();
  QColorDialog dialog(QColor(QRgb(settings.BackgroundColor)), this);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  CustomColors::LoadIntoDialog(settings.CustomColors);
  if (!TipDisplay::Show(ColourTip)) TipDisplay::Show(ColourTipLater);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyBackground(int(dialog.selectedColor().rgb() & 0xFFFFFF), false);
  settings.CustomColors = CustomColors::SaveFromDialog();
}

void TMainForm::DefColorAtnExecute() { ApplyBackground(DefaultBackground, true); }

// The table, the area around it and the magnifier take the colour.
void TMainForm::ApplyBackground(int colour, bool defaultTexture) {
  Settings()->BackgroundColor = colour;
  TableSurface& surface = Table()->Surface();
  if (defaultTexture) {
    surface.SetBackground(nullptr);
    Table()->SetTableColor(colour);
  } else {
    surface.MakeBackground(colour);
  }
  for (QWidget* area : {static_cast<QWidget*>(TableTopController), static_cast<QWidget*>(magnifier.data())}) {
    if (!area) continue;
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, QColor(QRgb(colour)));
    area->setPalette(palette);
  }
}

void TMainForm::BevelAtnExecute(QAction* which) {
  Puzzle* puzzle = Puzzle::Current();
  if (!puzzle) return;
  if (which == atn.BevelOffAtn) {
    puzzle->SetBevelOn(false);
  } else {
    puzzle->SetBevelLight(which == atn.BevelLightAtn);
    puzzle->SetBevelOn(true);
  }
  if (BevelFilter* bevel = puzzle->GetBevel()) bevel->Apply(TableSurface::GetDirtyRegions());
  Table()->Surface().Refresh();
  OptionsPopupPopup();
}

void TMainForm::BevelDefAtnExecute(QAction* which) {
  ProgSettings& settings = *Settings();
  settings.DefaultToLightBevel = which == atn.BevelLightDefAtn;
  settings.DefaultToBevelOff = which == atn.BevelOffDefAtn;
  which->setChecked(true);
}

void TMainForm::AutoRemoveBevelAtnExecute() {
  Settings()->AutoRemoveBevel = atn.AutoRemoveBevelAtn->isChecked();
}

void TMainForm::VolumeAtnExecute() {
  Table()->Suspend(true);
  const QStringList tool = ProgramStarter::FirstFound(
      {{QStringLiteral("pavucontrol")}, {QStringLiteral("gnome-control-center"), QStringLiteral("sound")}});
  if (tool.isEmpty() || !ProgramStarter::Start(tool.first(), tool.mid(1)))
    Prompt::ShowApp(QStringLiteral("No volume control program was found."), Prompt::Information);
}

void TMainForm::WebAtnExecute(const QString& address) {
  Table()->Suspend(true);
  OpenURL(address);
}

// The program's folder first, then the user's data folder where logs go when the program's
// folder cannot be written.
void TMainForm::ErrLogAtnExecute() {
  const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  for (const QString& folder : {GetExePath(true), dataFolder + QLatin1Char('/')}) {
    const QString path = folder + ErrorLogName;
    if (!QFileInfo(path).isFile()) continue;
    Table()->Suspend(true);
    ProgramStarter::OpenDocument(path);
    return;
  }
  Prompt::ShowApp(QStringLiteral("No error log is present."), Prompt::Information);
}

void TMainForm::ShowMsgLogExecute() {
  static int reportedHigh = 0;
  if (VirtualBuffer::HighCount() > reportedHigh) {
    reportedHigh = VirtualBuffer::HighCount();
    TMsgLog::Add(QStringLiteral("VB High = ") + QString::number(reportedHigh));
  }
  TMsgLog::ShowMsgLog();
}

// Five presses first while the window shows anything; then a press in the bare window
// writes the program's notice over the table until it next repaints.
void TMainForm::CopyAtnExecute() {
  const bool bare = !MainMenu1->isVisible() && !toolPnl->isVisible() && !Puzzle::Current();
  if (!bare) {
    ++noticePresses;
    return;
  }
  if (noticePresses < NoticePresses) return;
  VirtualBuffer notice(500, 40, QStringLiteral("Notice"));
  const QString text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                       QCoreApplication::applicationVersion() + QStringLiteral(" - Linux edition");
  notice.DrawLabel(text, int(text.size()));
  notice.MakeTestCopy();
  notice.Render(Table());
}

void TMainForm::LedClick(int helpContext) {
  Table()->Suspend(true);
  HelpViewer::ShowPopup(helpContext, QCursor::pos());
}
