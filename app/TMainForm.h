#pragma once
// The game's main window: the table top filling it, the control panel along its bottom or
// top edge with the four mini tables, the menus and commands, full-screen mode and the
// window's saved place. It starts the puzzle named on the command line or handed over by a
// second copy of the program.

#include "MainActions.h"

#include "table/MainWindowHook.h"

#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>

class BoxCoverControl;
class ControlPanel;
class Puzzle;
class PuzzleChip;
class ReportedWindowState;
class QTimer;
class SoundEffect;
class Sponser;
class StateSwitchHold;
class TableReadyWait;
class TPuzzleDialog2;
class QMenu;
class QMenuBar;
class TableAssembly;
class TableTop;
class TMagForm;
class JITTManager;
class TipBar;
class TipsControl;
class WheelTurn;

class TMainForm : public QMainWindow, public MainWindowHook {
  Q_OBJECT
public:
  static constexpr QSize SmallestWindow{762, 362};

  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The first showing: the place saved last time, full screen when asked for, then the
  // puzzle the command line names.
  void Start(const QStringList& arguments);

  // A second copy's command line, the program's path first.
  void WMCopyData(const QStringList& commandLine);

  void SetFullScreen(bool on);
  void RestoreWindowPlacement();
  void UpdateCaption();
  // What one turn of the wheel does; parts of a notch are gathered until they make one.
  void WMMouseWheel(int delta);

  TableTop* Table() const;
  ControlPanel* ToolPnl() const { return toolPnl; }
  MainActions& Actions() { return atn; }
  BoxCoverControl* BoxCover() const { return boxCover; }
  const QString& PendingPath() const { return pendingPath; }

  // MainWindowHook.
  void EnableMainWindow(bool enabled) override;
  void MaximizeMainForm() override;
  void PlaceMainForm(const QRect& bounds) override;
  void ShowStatus(const QString& text) override;
  void TableMinimumChanged() override;

  // Opening and saving.
  void OpenPuzzleBtnClick();
  void OpenAtnExecute() { OpenPuzzleBtnClick(); }
  void OpenDroppedFile(const QString& path);
  // The path the recent item showed, whatever the list holds by now.
  void OpenRecentClick(const QString& path);
  bool QuerySave();
  // guard: refused while another open or save runs.
  bool SavePuzzle(bool saveAs, bool guard = true);
  void SaveAtnExecute();
  void SaveAsAtnExecute();
  // During play.
  void ClockTimerTimer();
  void SetClockInterval();
  void UpdatePiecesStatus();
  void TimeStatusClick(bool toggle);
  void PiecesStatusClick(bool toggle);
  void AutoSaveAtnExecute(int minutes);
  void AutoSaveTimerTimer();
  bool AutoSavePending() const { return autoSavePending; }
  int ApplauseCount() const { return applauseCount; }

  // Commands.
  void ExitAtnExecute();
  void FullScreenAtnExecute();
  void ScatterAtnExecute();
  void RotateLeftAtnExecute();
  void RotateRightAtnExecute();
  void MagnifierAtnExecute();
  void MiniAtnExecute(QAction* which);
  void AlignCtrlPnlTopAtnExecute();
  void AlignCtrlPnlBotAtnExecute();
  void ToggleMenuAtnExecute();
  void ToggleCtrlPnlAtnExecute();
  void SoundEffectsAtnExecute();
  void ShowHintsAtnExecute();
  void HelpContentsAtnExecute();
  void HelpWhatsBtnAtnExecute();
  void OptionsAtnExecute();
  void HelpPopupAtnExecute();
  void SponserAtnExecute();
  void AboutAtnExecute();
  void SysInfoAtnExecute();
  void AdvancedAtnExecute();
  void PlayAtnExecute();
  void PauseAtnExecute();
  void PrintAtnExecute();
  void HoldAtnExecute();
  void ReleaseAtnExecute();
  void BackAtnExecute();
  void HintAtnExecute();
  void NoteAtnExecute();
  void BkgdSndEnabledAtnExecute();
  void ColorAtnExecute();
  void DefColorAtnExecute();
  void BevelAtnExecute(QAction* which);
  void BevelDefAtnExecute(QAction* which);
  void AutoRemoveBevelAtnExecute();
  void VolumeAtnExecute();
  void WebAtnExecute(const QString& address);
  void ErrLogAtnExecute();
  void ShowMsgLogExecute();
  void CopyAtnExecute();
  void LedClick(int helpContext);

  // Menus: the refresh before any menu opens, and the pop-ups' own states.
  void MenuRefresh();
  void OptionsPopupPopup();
  void TablePopupPopup();
  bool CanPlayBackgroundSound() const;
  QMenu* OptionsMenu() const { return OptionsPopup; }
  QMenu* HelpMenu() const { return HelpPopup; }
  QMenu* TableMenu() const { return TablePopup; }

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void BuildWindow();
  void WireActions();
  void ApplySettings();
  void WriteInstanceValues();
  void FormActivate();
  void FormDeactivate();
  void AppDeactivate();
  void AppException(const QString& message, const QStringList& callStack);
  void FormResize();
  void WindowStateChanged(Qt::WindowStates old);
  // The window manager's answers are the game's state: full screen (the setting the next F12
  // follows, the menu's check, the log) and maximised. During a switch they wait for its end.
  void WindowManagerAnswered();
  void FollowWindowManager();
  void ShowFullScreenMode(bool on);
  // A switch to or from full screen is over: the game takes the window manager's state, the
  // table follows the window.
  void SwitchOver();
  bool FormCloseQuery();
  void FormClose();
  void CloseOtherWindows();
  void ShowMenuAt(QMenu* menu, QWidget* button);
  void TakeArguments(const QStringList& arguments);
  bool MustWait() const;
  bool DialogIsAsking() const;
  bool TableReady() const;
  bool TableFollowsWindow() const;
  bool FillsWorkArea() const;
  // A saved game first asks for the window it was played in; then runs once the table has
  // followed the window there (at once when nothing had to change).
  void WhenTableReady(const Puzzle& puzzle, std::function<void()> then);
  void FinishOpen(bool loaded);
  void OpenWhenFree();
  // Opens the pending file, or the dialog, once the window is free.
  void OpenSoon();
  void ReportUnopenable();
  Puzzle* OpenFromDialog();
  Puzzle* OpenSavedGame(const QString& path);
  void DropCurrentPuzzle();
  bool StartPuzzle(Puzzle* puzzle);
  void ShowPuzzleState();
  QString AskSavePath(const Puzzle& puzzle, const QString& target);
  bool WriteGame(Puzzle& puzzle, const QString& target);
  void BuildPlayTimers();
  static int SolvedPieces(const Puzzle& puzzle);
  void PuzzleJoined(bool joined);
  void PuzzleChanged();
  void ApplauseTimerTimer();
  void ApplauseDone();
  void RaiseWindow();
  void ShowSponsor();
  void RemindOfF11();
  void CreateTips();
  // After a puzzle opens: the welcome page on the first run, otherwise the first tip that fits.
  void GreetOpenedPuzzle();
  void WelcomeTimerTimer();
  void WireCommands();
  void WireMenus();
  void RebuildRecentItems();
  void UpdatePuzzleActions();
  void UpdateHintAtn();
  void UpdatePrintAtn();
  void UpdateTableActions();
  void TrackArrowKeys(QEvent* event);
  void OfferRotationTip(bool fromMenu);
  bool BringNeighbourIntoView(PuzzleChip* neighbour);
  PuzzleChip* PieceUnderMouse() const;
  void StoreMagnifierPlace();
  void ApplyBackground(int colour, bool defaultTexture);

  MainActions atn;
  std::unique_ptr<Sponser> sponsor;
  BoxCoverControl* boxCover = nullptr;
  QString baseCaption;
  ControlPanel* toolPnl = nullptr;
  QWidget* TableTopController = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* OptionsPopup = nullptr;
  QMenu* HelpPopup = nullptr;
  QMenu* TablePopup = nullptr;
  std::unique_ptr<TableAssembly> table;
  // The table keeps its size while the window switches to or from full screen.
  std::unique_ptr<StateSwitchHold> switchHold;
  ReportedWindowState* reportedState = nullptr;
  // The tip bar lies in the table area; the manager goes before it, and what the options
  // window reaches it through goes before the manager.
  TipBar* TipPnl = nullptr;
  std::unique_ptr<JITTManager> tipManager;
  std::unique_ptr<TipsControl> tipsControl;
  QPointer<TMagForm> magnifier;
  std::unique_ptr<WheelTurn> wheel;
  QString pendingPath;
  // An open waits its turn (see OpenWhenFree).
  bool openWanted = false;
  // The initial folder a hand-over named, kept while the dialog it closes empties it.
  QString handOverDir;
  // The window's first size has been awaited: a file opened later waits for nothing more.
  bool windowSettled = false;
  TableReadyWait* tableReady = nullptr;
  QPointer<TPuzzleDialog2> openDialog;
  QTimer* openRetry = nullptr;
  QTimer* clockTimer = nullptr;
  QTimer* autoSaveTimer = nullptr;
  QTimer* applauseTimer = nullptr;
  QTimer* welcomeTimer = nullptr;
  SoundEffect* applause = nullptr;
  int applauseCount = 0;
  bool busy = false;
  bool autoSavePending = false;
  bool trackWasPlaying = false;
  bool geometryRestored = false;
  bool restoreAfterFullScreen = false;
  bool settingFullScreen = false;
  // The last switch asked to leave full screen: a normal window then gets its saved place.
  bool leavingFullScreen = false;
  bool handlingException = false;
  bool started = false;
  // Left or Right is down: a rotation came by key, not from a menu.
  bool arrowKeyHeld = false;
  // F3 reached the window itself (its command was disabled), so its release runs the hint.
  bool hintKeyDown = false;
  int noticePresses = 0;
  std::unique_ptr<QObject> toolTipSwitch;
};
