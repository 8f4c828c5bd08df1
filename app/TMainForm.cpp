#include "TMainForm.h"

#include "BoxCoverControl.h"
#include "ControlPanel.h"
#include "KeyRouting.h"
#include "PerformanceLeds.h"
#include "ReportedWindowState.h"
#include "Sponser.h"
#include "TAdvancedOptsFrm.h"
#include "TableReadyWait.h"
#include "StateSwitchHold.h"
#include "SnapLed.h"
#include "TipsControl.h"
#include "WheelTurn.h"
#include "WindowPlacement.h"

#include "Yelk/ERegistry.h"
#include "Yelk/GameApplication.h"
#include "Yelk/HourGlass.h"
#include "Yelk/TMsgLog.h"
#include "controls/OstrevPanel.h"
#include "controls/WhatsThis.h"
#include "imaging/VirtualBuffer.h"
#include "platform/HelpWindow.h"
#include "platform/Screens.h"
#include "puzzle/Puzzle.h"
#include "richtext/RichEdit20.h"
#include "settings/ProgSettings.h"
#include "table/MiniSurface.h"
#include "table/TMagForm.h"
#include "table/TableAssembly.h"
#include "table/TableSurface.h"
#include "table/JITTManager.h"
#include "table/TableTop.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), atn(this), wheel(std::make_unique<WheelTurn>()) {
  setObjectName(QStringLiteral("MainForm"));
  RichEdit20::SuppressMissingLibMsg = true;
  setMinimumSize(SmallestWindow);
  resize(762, 562);
  // Before the table: its surface takes the sponsor's logo as its watermark.
  sponsor = std::make_unique<Sponser>(Sponser::SponsorFolder());
  TableSurface::SetLogoSource([this]() -> std::unique_ptr<VirtualBuffer> {
    const VirtualBuffer* logo = sponsor ? sponsor->Logo() : nullptr;
    return logo ? std::make_unique<VirtualBuffer>(*logo, 100) : nullptr;
  });
  BuildWindow();
  Table()->Surface().OnStatistics = [this](const PerformanceStats& stats) {
    PerformanceLeds::Show(stats, *toolPnl->GreenLed, *toolPnl->YellowLed, Screens::Primary().colourDepth);
  };
  WireActions();
  WireCommands();
  WireMenus();
  BuildPlayTimers();
  TMsgLog::Add(QStringLiteral("Exe path: ") + QCoreApplication::applicationFilePath());
  ShowSponsor();
  GameApplication::SetExceptionHandler(
      [this](const QString& message, const QStringList& stack) { AppException(message, stack); });
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state == Qt::ApplicationActive)
              FormActivate();
            else
              AppDeactivate();
          });
  ApplySettings();
  new KeyRouting(this);
  CreateTips();
  baseCaption = QStringLiteral("Tessavinelume Jigsaw Puzzles");
  UpdateCaption();
  RestoreWindowPlacement();
  WriteInstanceValues();
  reportedState->Watch();
}

TMainForm::~TMainForm() {
  GameApplication::SetExceptionHandler({});
  Table()->Surface().OnStatistics = nullptr;  // the LEDs go with the window
  TableSurface::SetLogoSource({});
  delete magnifier;
  delete boxCover;
  // No answer of the window manager reaches a window half gone.
  delete reportedState;
  reportedState = nullptr;
  switchHold.reset();
  // The table top and its puzzle go before the mini tables and the panels they sit in.
  table.reset();
}

void TMainForm::BuildWindow() {
  MainMenu1 = atn.BuildMainMenu(this);
  setMenuBar(MainMenu1);
  OptionsPopup = atn.BuildOptionsMenu(this);
  HelpPopup = atn.BuildHelpMenu(this);
  TablePopup = atn.BuildTableMenu(this);
  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  TableTopController = new QWidget(client);
  TableTopController->setObjectName(QStringLiteral("TableTopController"));
  TableTopController->setAutoFillBackground(true);
  auto* fill = new QVBoxLayout(TableTopController);
  fill->setContentsMargins(0, 0, 0, 0);
  toolPnl = new ControlPanel(client, atn);
  column->addWidget(TableTopController, 1);
  column->addWidget(toolPnl);
  setCentralWidget(client);
  table = std::make_unique<TableAssembly>(
      TableTopController,
      std::array<QWidget*, 4>{toolPnl->Panels[0], toolPnl->Panels[1], toolPnl->Panels[2],
                              toolPnl->Panels[3]},
      this);
  fill->addWidget(table->Table());
  table->Table()->PopupMenu = TablePopup;
  tableReady = new TableReadyWait(this);
  switchHold = std::make_unique<StateSwitchHold>([this] { Table()->Surface().HoldResizes(); },
                                                 [this] { SwitchOver(); });
  reportedState = new ReportedWindowState(*this, [this] { WindowManagerAnswered(); });
  boxCover = new BoxCoverControl(this, toolPnl->BoxCoverPnl, atn.BoxCoverAtn);
  WhatsThis::SetHelpContext(table->Table(), 280);
  setAcceptDrops(true);
}

void TMainForm::WireActions() {
  auto bind = [this](QAction* action, void (TMainForm::*handler)()) {
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, handler);
  };
  bind(atn.ExitAtn, &TMainForm::ExitAtnExecute);
  bind(atn.OpenAtn, &TMainForm::OpenAtnExecute);
  connect(atn.SaveAtn, &QAction::triggered, this, &TMainForm::SaveAtnExecute);
  connect(atn.SaveAsAtn, &QAction::triggered, this, &TMainForm::SaveAsAtnExecute);
  bind(atn.FullScreenAtn, &TMainForm::FullScreenAtnExecute);
  bind(atn.AlignCtrlPnlTopAtn, &TMainForm::AlignCtrlPnlTopAtnExecute);
  bind(atn.AlignCtrlPnlBotAtn, &TMainForm::AlignCtrlPnlBotAtnExecute);
  bind(atn.ToggleMenuAtn, &TMainForm::ToggleMenuAtnExecute);
  bind(atn.ToggleCtrlPnlAtn, &TMainForm::ToggleCtrlPnlAtnExecute);
  bind(atn.SoundEffectsAtn, &TMainForm::SoundEffectsAtnExecute);
  bind(atn.HelpContentsAtn, &TMainForm::HelpContentsAtnExecute);
  bind(atn.HelpWhatsMenuAtn, &TMainForm::HelpWhatsBtnAtnExecute);
  bind(atn.HelpWhatsBtnAtn, &TMainForm::HelpWhatsBtnAtnExecute);
  bind(atn.OptionsAtn, &TMainForm::OptionsAtnExecute);
  bind(atn.HelpPopupAtn, &TMainForm::HelpPopupAtnExecute);
  // These wait for a puzzle on the table.
  connect(atn.ScatterAtn, &QAction::triggered, this, &TMainForm::ScatterAtnExecute);
  connect(atn.RotateLeftAtn, &QAction::triggered, this, &TMainForm::RotateLeftAtnExecute);
  connect(atn.RotateRightAtn, &QAction::triggered, this, &TMainForm::RotateRightAtnExecute);
  connect(atn.MagnifierAtn, &QAction::triggered, this, &TMainForm::MagnifierAtnExecute);
  bind(atn.AboutAtn, &TMainForm::AboutAtnExecute);
  bind(atn.SysInfoAtn, &TMainForm::SysInfoAtnExecute);
  bind(atn.AdvancedAtn, &TMainForm::AdvancedAtnExecute);
  connect(atn.SponserAtn, &QAction::triggered, this, &TMainForm::SponserAtnExecute);
  connect(atn.BoxCoverAtn, &QAction::triggered, boxCover, &BoxCoverControl::BoxCoverAtnExecute);
  for (QAction* mini : {atn.NextMiniAtn, atn.PrevMiniAtn, atn.FirstMiniAtn, atn.LastTableAtn})
    connect(mini, &QAction::triggered, this, [this, mini] { MiniAtnExecute(mini); });
}

void TMainForm::ApplySettings() {
  ProgSettings& settings = *Settings();
  // A first run offers the puzzles that come with the game, as clearing the history does.
  if (settings.NewPuzzleFolders.isEmpty())
    settings.NewPuzzleFolders = {TAdvancedOptsFrm::DefaultPuzzleFolder()};
  if (!settings.AlignControlPanelToBottom)
    AlignCtrlPnlTopAtnExecute();
  else
    atn.AlignCtrlPnlBotAtn->setChecked(true);
  atn.ToggleMenuAtn->setChecked(settings.ShowMainMenu);
  MainMenu1->setVisible(settings.ShowMainMenu);
  atn.ToggleCtrlPnlAtn->setChecked(true);
  settings.ControlPanelVisible = true;  // every start shows the panel
  const QColor colour = QColor(QRgb(settings.BackgroundColor));
  table->Table()->SetTableColor(settings.BackgroundColor);
  QPalette palette = TableTopController->palette();
  palette.setColor(QPalette::Window, colour);
  TableTopController->setPalette(palette);
  toolPnl->ProximityLed->SetFlashRate(200);
  toolPnl->ProximityLed->SetUseCaption(settings.SnapLedInTitle);
  // Always registered: the selection itself asks the setting, so ticking it in the advanced
  // options takes effect at once.
  SnapIndicator::SetCurrent(toolPnl->ProximityLed);
  atn.BkgdSndEnabledAtn->setChecked(settings.EnableBackgroundSound);
  atn.ShowHintsAtn->setChecked(settings.ShowHints);
  atn.SoundEffectsAtn->setChecked(settings.SoundEffects);
  (settings.DefaultToLightBevel ? atn.BevelLightDefAtn
   : settings.DefaultToBevelOff ? atn.BevelOffDefAtn
                                : atn.BevelNormalDefAtn)
      ->setChecked(true);
  atn.AutoRemoveBevelAtn->setChecked(settings.AutoRemoveBevel);
}

// What identifies the running copy: its window and its process.
void TMainForm::WriteInstanceValues() {
  ERegistry::QuickWriteInt(QString(), QStringLiteral("Window handle"), int(winId()));
  ERegistry::QuickWriteInt(QString(), QStringLiteral("App handle"),
                           int(QCoreApplication::applicationPid()));
}

TableTop* TMainForm::Table() const { return table->Table(); }

void TMainForm::Start(const QStringList& arguments) {
  TakeArguments(arguments);
  show();
  started = true;
  if (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier)
    Settings()->FullScreenStart = false;
  else if (Settings()->FullScreenStart)
    SetFullScreen(true);
  // The named file, or else the open dialog: a new player is offered puzzles at once.
  OpenSoon();
  ShowPuzzleState();
}

void TMainForm::RaiseWindow() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TMainForm::UpdateCaption() {
  const Puzzle* puzzle = Puzzle::Current();
  if (!puzzle)
    setWindowTitle(baseCaption);
  else if (puzzle->IsFromClipboard())
    setWindowTitle(baseCaption + QStringLiteral(" - Clipboard Image"));
  else
    setWindowTitle(baseCaption + QStringLiteral(" - ") + puzzle->GetDisplayName());
}

void TMainForm::EnableMainWindow(bool enabled) { setEnabled(enabled); }

// Asked only: the window manager answers later (see WhenTableReady).
void TMainForm::MaximizeMainForm() { setWindowState(windowState() | Qt::WindowMaximized); }

void TMainForm::PlaceMainForm(const QRect& bounds) {
  if (windowState() & Qt::WindowMaximized) setWindowState(windowState() & ~Qt::WindowMaximized);
  WindowPlacement::PlaceWindow(*this, bounds);
}

// The main window has no status control for the table's own notes.
void TMainForm::ShowStatus(const QString&) {}
