#pragma once
// The main window's commands and the menus that show them: the main menu, the options and
// help pop-ups of the control panel and the table's pop-up menu. Every action also belongs to
// the window, so that its key works while the menu bar is hidden.

#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class MainActions {
public:
  explicit MainActions(QWidget* owner);

  QAction *OpenAtn, *SaveAtn, *SaveAsAtn, *PrintAtn, *ExitAtn;
  QAction *PlayAtn, *PauseAtn, *BoxCoverAtn, *MagnifierAtn, *FullScreenAtn, *ScatterAtn;
  QAction *NextMiniAtn, *PrevMiniAtn, *FirstMiniAtn, *LastTableAtn, *NoteAtn;
  QAction *RotateLeftAtn, *RotateRightAtn, *HintAtn, *HoldAtn, *ReleaseAtn, *BackAtn;
  QAction *ToggleMenuAtn, *ToggleCtrlPnlAtn, *SoundEffectsAtn, *BkgdSndEnabledAtn, *ShowHintsAtn;
  QAction *ColorAtn, *DefColorAtn, *BevelNormalAtn, *BevelLightAtn, *BevelOffAtn;
  QAction *BevelNormalDefAtn, *BevelLightDefAtn, *BevelOffDefAtn, *AutoRemoveBevelAtn, *VolumeAtn;
  QAction *AlignCtrlPnlTopAtn, *AlignCtrlPnlBotAtn, *AdvancedAtn;
  QAction *AutoSaveOffAtn, *AutoSave_1_Atn, *AutoSave_5_Atn, *AutoSave_10_Atn, *AutoSave_20_Atn;
  QAction *HelpContentsAtn, *HelpWhatsMenuAtn, *HelpWhatsBtnAtn, *HelpLastTipAtn;
  QAction *WebVersionAtn, *WebSiteAtn, *WebSupportAtn, *SponserAtn, *SysInfoAtn, *AboutAtn;
  QAction *OptionsAtn, *HelpPopupAtn;
  // Keys without a menu item: the error log, the message log, the hidden notice and a
  // key kept for trials.
  QAction *ErrLogAtn, *ShowMsgLog, *CopyAtn, *Test;

  // Every action, in the order made.
  const QList<QAction*>& All() const { return all; }

  // The menus; the owner keeps them.
  QMenuBar* BuildMainMenu(QWidget* owner);
  QMenu* BuildOptionsMenu(QWidget* owner);
  QMenu* BuildHelpMenu(QWidget* owner);
  QMenu* BuildTableMenu(QWidget* owner);
  // The main menu's "&File", which shows the recent puzzles.
  QMenu* FileMenu() const { return fileMenu; }
  // The "&Puzzle Bevel" submenus of the main menu and the options pop-up.
  const QList<QMenu*>& BevelMenus() const { return bevelMenus; }
  // The line under the sponsor's item; shown with it.
  QAction* SponserSeparator;

private:
  QAction* Make(const char* name, const QString& text, const QKeySequence& key = {},
                const QString& image = {});
  QAction* Check(const char* name, const QString& text, const QKeySequence& key = {});
  void FillOptions(QMenu* menu);
  void FillHelp(QMenu* menu);
  QMenu* GoToMenu(QWidget* owner);

  QWidget* owner;
  QList<QAction*> all;
  QMenu* fileMenu = nullptr;
  QList<QMenu*> bevelMenus;
};
