#pragma once
// The program's settings: one object, loaded from the settings store on first use. Every
// stored value has a default that stands in for a missing, damaged or out-of-range value.

#include "CaptionSetting.h"

#include <QString>
#include <QStringList>

class ERegistry;

class ProgSettings {
public:
  // Builds the defaults and the run-time fields; does not read the store.
  ProgSettings();

  // Reads every value and list; false when the store was damaged (the defaults stay).
  bool Load();
  // The same, with the ini file whose "Main" section may switch continuous refresh.
  bool Load(const QString& iniOverride);
  // "Tessavinelume.ini" beside the program.
  static QString IniOverridePath();
  // Writes every value and list; on failure shows "Failure during registry save" and the
  // store keeps what it held before.
  bool Save();

  // True when the system lists more than one printer, or exactly one whose name does not
  // contain "Rendering Subsystem on".
  static bool PrintersAreUsable(const QStringList& printerNames);

  // Stored values, by their names in the store.
  int NumberOfHintsAllowed = -1;  // "Number of hints allowed", -1 = unlimited
  bool UpsideRight = false;
  bool IsolateEdges = true;
  bool UpsideRightCreate = false;  // "Upside right (create)"
  bool AllowPreview = true;
  QString SavePuzzleFolder;
  bool ShowMainMenu = true;
  bool ContinuousRefresh = false;
  int PuzzlePieceSize = 80;
  int MagnifierLeft = -1;  // the four: -1 = never saved
  int MagnifierTop = -1;
  int MagnifierWidth = -1;
  int MagnifierHeight = -1;
  bool EnableBackgroundSound = true;
  bool HideF11Message = false;
  bool AlignControlPanelToBottom = true;
  bool ShowFileExts = true;  // the desktop's choice
  bool ShowHints = true;
  bool FullScaleBoxCover = false;
  CaptionSetting SnapLedInTitle = csWhenInvisible;  // "Snap LED in Title"
  int XPosition = 10;
  int YPosition = 10;
  int Width = 762;
  int Height = 550;
  bool Maximized = true;
  bool SoundEffects = true;
  int AutoSaveInterval = 0;  // minutes: 0 (off), 1, 5, 10 or 20
  bool AdvancedVolumeControl = false;
  int SnapDistance = 5;
  bool DefaultToLightBevel = false;
  bool DefaultToBevelOff = false;
  bool AutoRemoveBevel = false;
  bool ShowSeconds = false;
  bool SuppressApplause = false;
  int MaxTablePercentage = 55;
  int BackgroundColor = 0x7599B9;  // 0x00RRGGBB
  int FullScreenSize = 0;          // 0, 1 or 2
  bool FullScreenStart = false;
  bool AllowDisplayChange = true;
  bool EnableSnapIndicator = true;
  bool TipsEnabled = true;
  bool OneTipOnly = false;
  bool AdvancedTipsOnly = false;
  bool AutoDismissTips = true;
  QString WordProcessor;  // empty = the desktop's default application
  QString MusicFolder;
  bool ShowTodClock = false;
  bool ShowHintsStat = false;
  bool PrevSaveUnfinished = false;
  bool ShowWelcome = true;
  bool ShowMorePuzzles = false;
  bool UsePreviousSaveFolder = false;
  int NextCheckDate = 0;  // whole days since 30 December 1899

  // Stored lists, most recent first.
  QStringList NewPuzzleFolders;
  QStringList SavedPuzzleFolders;
  QStringList CreatePuzzleFolders;
  QStringList RecentPuzzles;
  QStringList CustomColors;  // the colour dialog's lines

  // Kept only while the program runs.
  int LastNewIndex = 0;
  int LastSavedIndex = 0;
  int LastCreateIndex = 0;
  int LastNewPieces = -1;
  int LastCreatePieces = -1;
  QString InitialDir;
  QString DefaultSaveFolder;
  bool QvpOnly = false;
  bool PrintingAvailable = false;
  bool ModalPromptUp = false;
  bool ControlPanelVisible = true;
  bool FullScreenActive = false;
  bool SignatureShown = true;
  bool DragBetweenMinis = true;

  // Whole days since 30 December 1899 for today, as the store keeps dates.
  static int TodayAsDayNumber();

private:
  void ReadValues(const ERegistry& reg);
  void ReadLists(const ERegistry& reg);
  void Validate();
  void ApplyIniOverride(const QString& path);
  void WriteValues(ERegistry& reg) const;
  void WriteLists(ERegistry& reg) const;
};

// The one settings object of the program, loaded on the first call.
ProgSettings* Settings();
