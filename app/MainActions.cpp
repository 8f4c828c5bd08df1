#include "MainActions.h"

#include "controls/Artwork.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

MainActions::MainActions(QWidget* window) : owner(window) {
  OpenAtn = Make("OpenAtn", QStringLiteral("&Open/Create Puzzle..."),
                 QKeySequence(QStringLiteral("Ctrl+O")), QStringLiteral("images/29/open"));
  SaveAtn = Make("SaveAtn", QStringLiteral("&Save"), QKeySequence(QStringLiteral("Ctrl+S")),
                 QStringLiteral("images/16/save"));
  SaveAsAtn = Make("SaveAsAtn", QStringLiteral("Save &As..."),
                   QKeySequence(QStringLiteral("Ctrl+Shift+S")));
  PrintAtn = Make("PrintAtn", QStringLiteral("&Print..."), {}, QStringLiteral("images/16/print"));
  ExitAtn = Make("ExitAtn", QStringLiteral("E&xit"), {}, QStringLiteral("images/29/exit"));
  PlayAtn = Make("PlayAtn", QStringLiteral("&Play"), {}, QStringLiteral("images/29/play"));
  PauseAtn = Make("PauseAtn", QStringLiteral("&Pause"), QKeySequence(QStringLiteral("Ctrl+P")),
                  QStringLiteral("images/29/pause"));
  PauseAtn->setCheckable(true);  // the menu item shows a check while play is paused
  BoxCoverAtn =
      Check("BoxCoverAtn", QStringLiteral("Show &Box Cover Image"), QKeySequence(Qt::Key_F9));
  MagnifierAtn = Check("MagnifierAtn", QStringLiteral("Show &Magnifier"),
                       QKeySequence(QStringLiteral("Ctrl+M")));
  MagnifierAtn->setIcon(Artwork::Icon(QStringLiteral("images/16/magnifier")));
  FullScreenAtn =
      Check("FullScreenAtn", QStringLiteral("&Full Screen Mode"), QKeySequence(Qt::Key_F12));
  FullScreenAtn->setIcon(Artwork::Icon(QStringLiteral("images/16/fullscreen")));
  ScatterAtn = Make("ScatterAtn", QStringLiteral("&Scatter to Border"),
                    QKeySequence(QStringLiteral("Ctrl+B")), QStringLiteral("images/16/scatter"));
  NextMiniAtn = Make("NextMiniAtn", QStringLiteral("&Next Table"), QKeySequence(Qt::Key_PageDown));
  PrevMiniAtn =
      Make("PrevMiniAtn", QStringLiteral("&Previous Table"), QKeySequence(Qt::Key_PageUp));
  FirstMiniAtn = Make("FirstMiniAtn", QStringLiteral("&First Table"), QKeySequence(Qt::Key_Home));
  LastTableAtn = Make("LastTableAtn", QStringLiteral("&Last Table"), QKeySequence(Qt::Key_End));
  NoteAtn =
      Make("NoteAtn", QStringLiteral("About the &Puzzle"), {}, QStringLiteral("images/16/note"));
  RotateLeftAtn = Make("RotateLeftAtn", QStringLiteral("Rotate &Left    (Rotate mouse wheel)"),
                       QKeySequence(Qt::Key_Left));
  RotateRightAtn = Make("RotateRightAtn", QStringLiteral("Rotate &Right  (Rotate mouse wheel)"),
                        QKeySequence(Qt::Key_Right));
  HintAtn = Make("HintAtn", QStringLiteral("&Hint"), QKeySequence(Qt::Key_F3));
  HoldAtn = Make("HoldAtn", QStringLiteral("&Capture          (Press mouse wheel)"));
  ReleaseAtn = Make("ReleaseAtn", QStringLiteral("R&elease         (Press mouse wheel)"));
  BackAtn = Make("BackAtn", QStringLiteral("&Send to Back"));
  ToggleMenuAtn =
      Check("ToggleMenuAtn", QStringLiteral("Show Main &Menu"), QKeySequence(Qt::Key_F10));
  ToggleCtrlPnlAtn =
      Check("ToggleCtrlPnlAtn", QStringLiteral("Show &Control Panel"), QKeySequence(Qt::Key_F11));
  SoundEffectsAtn = Check("SoundEffectsAtn", QStringLiteral("Enable Sound &Effects"));
  BkgdSndEnabledAtn = Check("BkgdSndEnabledAtn", QStringLiteral("Enable &Background Sound"));
  ShowHintsAtn = Check("ShowHintsAtn", QStringLiteral("Show B&utton Hints"));
  ColorAtn = Make("ColorAtn", QStringLiteral("&Choose Color..."));
  DefColorAtn = Make("DefColorAtn", QStringLiteral("&Use Default Color"));
  BevelNormalAtn = Check("BevelNormalAtn", QStringLiteral("&Normal"));
  BevelLightAtn = Check("BevelLightAtn", QStringLiteral("&Light"));
  BevelOffAtn = Check("BevelOffAtn", QStringLiteral("&Off"));
  BevelNormalDefAtn = Check("BevelNormalDefAtn", QStringLiteral("&Normal"));
  BevelLightDefAtn = Check("BevelLightDefAtn", QStringLiteral("&Light"));
  BevelOffDefAtn = Check("BevelOffDefAtn", QStringLiteral("&Off"));
  AutoRemoveBevelAtn = Check("AutoRemoveBevelAtn", QStringLiteral("&Auto Hide Bevel at Finish"));
  VolumeAtn = Make("VolumeAtn", QStringLiteral("System &Volume..."),
                   QKeySequence(QStringLiteral("Ctrl+V")));
  AlignCtrlPnlTopAtn = Check("AlignCtrlPnlTopAtn", QStringLiteral("&Top Edge"));
  AlignCtrlPnlBotAtn = Check("AlignCtrlPnlBotAtn", QStringLiteral("&Bottom Edge"));
  AdvancedAtn = Make("AdvancedAtn", QStringLiteral("Advanced &Options..."), {},
                     QStringLiteral("images/16/options"));
  AutoSaveOffAtn = Check("AutoSaveOffAtn", QStringLiteral("&Off"));
  AutoSave_1_Atn = Check("AutoSave_1_Atn", QStringLiteral("Every &Minute"));
  AutoSave_5_Atn = Check("AutoSave_5_Atn", QStringLiteral("Every &5 Minutes"));
  AutoSave_10_Atn = Check("AutoSave_10_Atn", QStringLiteral("Every &10 Minutes"));
  AutoSave_20_Atn = Check("AutoSave_20_Atn", QStringLiteral("Every &20 Minutes"));
  HelpContentsAtn = Make("HelpContentsAtn", QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1),
                         QStringLiteral("images/16/help"));
  HelpWhatsMenuAtn =
      Make("HelpWhatsMenuAtn", QStringLiteral("&What's This"),
           QKeySequence(QStringLiteral("Shift+F1")), QStringLiteral("images/16/whatsthis"));
  HelpWhatsBtnAtn = Make("HelpWhatsBtnAtn", QStringLiteral("&What's This"), {},
                         QStringLiteral("images/16/whatsthis"));
  HelpLastTipAtn = Make("HelpLastTipAtn", QStringLiteral("Show Previous &Tip"),
                        QKeySequence(QStringLiteral("Ctrl+F1")));
  WebVersionAtn = Make("WebVersionAtn", QStringLiteral("Check for Latest &Version"));
  WebSiteAtn = Make("WebSiteAtn", QStringLiteral("&Tessavinelume Web Site"));
  WebSupportAtn = Make("WebSupportAtn", QStringLiteral("&Support"));
  SponserAtn = Make("SponserAtn", QStringLiteral("V&isit"));
  SponserAtn->setVisible(false);
  // Not a command: kept out of the list of every action.
  SponserSeparator = new QAction(owner);
  SponserSeparator->setObjectName(QStringLiteral("SponserSeparator"));
  SponserSeparator->setSeparator(true);
  SponserSeparator->setVisible(false);
  SysInfoAtn = Make("SysInfoAtn", QStringLiteral("S&ystem Information"), {},
                    QStringLiteral("images/16/info"));
  AboutAtn = Make("AboutAtn", QStringLiteral("&About"));
  OptionsAtn =
      Make("OptionsAtn", QStringLiteral("Options"), {}, QStringLiteral("images/29/options"));
  HelpPopupAtn = Make("HelpPopupAtn", QStringLiteral("Help"), {}, QStringLiteral("images/29/help"));
  ErrLogAtn = Make("ErrLogAtn", QString(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
  ShowMsgLog = Make("ShowMsgLog", QString(), QKeySequence(QStringLiteral("Ctrl+Shift+M")));
  CopyAtn = Make("CopyAtn", QString(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
  Test = Make("Test", QString(), QKeySequence(QStringLiteral("Ctrl+Shift+T")));

  auto exclusive = [this](std::initializer_list<QAction*> actions) {
    auto* group = new QActionGroup(owner);
    for (QAction* action : actions) group->addAction(action);
  };
  exclusive({BevelNormalDefAtn, BevelLightDefAtn, BevelOffDefAtn});
  exclusive({AlignCtrlPnlTopAtn, AlignCtrlPnlBotAtn});
  exclusive({AutoSaveOffAtn, AutoSave_1_Atn, AutoSave_5_Atn, AutoSave_10_Atn, AutoSave_20_Atn});
  // Their menu items show a check instead of the toolbar's picture.
  for (QAction* action : {PauseAtn, MagnifierAtn, FullScreenAtn}) action->setIconVisibleInMenu(false);
  PlayAtn->setToolTip(QStringLiteral("Play (Ctrl+P)"));
  HelpWhatsBtnAtn->setToolTip(QStringLiteral("\"What's This?\""));
}

QAction* MainActions::Make(const char* name, const QString& text, const QKeySequence& key,
                           const QString& image) {
  auto* action = new QAction(text, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(key);
  if (!image.isEmpty()) action->setIcon(Artwork::Icon(image));
  // Commands without a handler yet stay greyed; the window enables those it serves.
  action->setEnabled(false);
  owner->addAction(action);
  all << action;
  return action;
}

QAction* MainActions::Check(const char* name, const QString& text, const QKeySequence& key) {
  QAction* action = Make(name, text, key);
  action->setCheckable(true);
  return action;
}

QMenu* MainActions::GoToMenu(QWidget* parent) {
  auto* menu = new QMenu(QStringLiteral("&Go To"), parent);
  menu->addActions({NextMiniAtn, PrevMiniAtn, FirstMiniAtn, LastTableAtn});
  return menu;
}

QMenuBar* MainActions::BuildMainMenu(QWidget* parent) {
  auto* bar = new QMenuBar(parent);
  bar->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* file = fileMenu = bar->addMenu(QStringLiteral("&File"));
  file->addActions({OpenAtn, SaveAtn, SaveAsAtn, PrintAtn});
  file->addSeparator();
  file->addAction(ExitAtn);
  QMenu* actions = bar->addMenu(QStringLiteral("&Actions"));
  actions->addActions({PauseAtn, BoxCoverAtn, MagnifierAtn, FullScreenAtn});
  actions->addSeparator();
  actions->addAction(ScatterAtn);
  actions->addMenu(GoToMenu(actions));
  actions->addAction(NoteAtn);
  FillOptions(bar->addMenu(QStringLiteral("&Options")));
  FillHelp(bar->addMenu(QStringLiteral("&Help")));
  return bar;
}

void MainActions::FillOptions(QMenu* menu) {
  menu->addActions(
      {ToggleMenuAtn, ToggleCtrlPnlAtn, SoundEffectsAtn, BkgdSndEnabledAtn, ShowHintsAtn});
  menu->addSeparator();
  QMenu* colour = menu->addMenu(QStringLiteral("Background Co&lor"));
  colour->addActions({ColorAtn, DefColorAtn});
  QMenu* bevel = menu->addMenu(QStringLiteral("&Puzzle Bevel"));
  bevelMenus << bevel;
  bevel->addActions({BevelNormalAtn, BevelLightAtn, BevelOffAtn});
  bevel->addSeparator();
  QMenu* defaults = bevel->addMenu(QStringLiteral("&Default"));
  defaults->addActions({BevelNormalDefAtn, BevelLightDefAtn, BevelOffDefAtn});
  bevel->addAction(AutoRemoveBevelAtn);
  menu->addAction(VolumeAtn);
  QMenu* align = menu->addMenu(QStringLiteral("&Align Control Panel to"));
  align->addActions({AlignCtrlPnlTopAtn, AlignCtrlPnlBotAtn});
  QMenu* autoSave = menu->addMenu(QStringLiteral("Auto &Save"));
  autoSave->addActions(
      {AutoSaveOffAtn, AutoSave_1_Atn, AutoSave_5_Atn, AutoSave_10_Atn, AutoSave_20_Atn});
  menu->addAction(AdvancedAtn);
}

void MainActions::FillHelp(QMenu* menu) {
  menu->addActions({HelpContentsAtn, HelpWhatsMenuAtn, HelpLastTipAtn});
  menu->addSeparator();
  menu->addActions({WebVersionAtn, WebSiteAtn, WebSupportAtn});
  menu->addSeparator();
  menu->addAction(SponserAtn);
  menu->addAction(SponserSeparator);
  menu->addActions({NoteAtn, SysInfoAtn, AboutAtn});
}

QMenu* MainActions::BuildOptionsMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("OptionsPopup"));
  FillOptions(menu);
  return menu;
}

QMenu* MainActions::BuildHelpMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("HelpPopup"));
  FillHelp(menu);
  return menu;
}

QMenu* MainActions::BuildTableMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("TablePopup"));
  menu->addActions({RotateLeftAtn, RotateRightAtn, HintAtn, HoldAtn, ReleaseAtn, BackAtn});
  menu->addSeparator();
  menu->addMenu(GoToMenu(menu));
  menu->addAction(NoteAtn);
  return menu;
}
