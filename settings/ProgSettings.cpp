#include "ProgSettings.h"

#include "Yelk/ERegistry.h"
#include "Yelk/PathUtils.h"
#include "Yelk/Prompt.h"
#include "Yelk/SystemUtils.h"
#include "Yelk/TMsgLog.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <QSettings>
#include <memory>

namespace {
// The store's names of the plain values, and where each lives in the object.
struct BoolValue {
  const char* name;
  bool ProgSettings::*field;
};
struct IntValue {
  const char* name;
  int ProgSettings::*field;
};
struct StringValue {
  const char* name;
  QString ProgSettings::*field;
};
struct ListValue {
  const char* name;
  QStringList ProgSettings::*field;
};

constexpr BoolValue boolValues[] = {
    {"Upside right", &ProgSettings::UpsideRight},
    {"Isolate edges", &ProgSettings::IsolateEdges},
    {"Upside right (create)", &ProgSettings::UpsideRightCreate},
    {"Allow preview", &ProgSettings::AllowPreview},
    {"Show main menu", &ProgSettings::ShowMainMenu},
    {"Continuous refresh", &ProgSettings::ContinuousRefresh},
    {"Enable background sound", &ProgSettings::EnableBackgroundSound},
    {"Hide F11 message", &ProgSettings::HideF11Message},
    {"Align control panel to bottom", &ProgSettings::AlignControlPanelToBottom},
    {"Show file exts", &ProgSettings::ShowFileExts},
    {"Show hints", &ProgSettings::ShowHints},
    {"Full scale box cover", &ProgSettings::FullScaleBoxCover},
    {"Maximized", &ProgSettings::Maximized},
    {"Sound effects", &ProgSettings::SoundEffects},
    {"Advanced volume control", &ProgSettings::AdvancedVolumeControl},
    {"Default to light bevel", &ProgSettings::DefaultToLightBevel},
    {"Default to bevel off", &ProgSettings::DefaultToBevelOff},
    {"Auto remove bevel", &ProgSettings::AutoRemoveBevel},
    {"Show seconds", &ProgSettings::ShowSeconds},
    {"Suppress applause", &ProgSettings::SuppressApplause},
    {"Full screen start", &ProgSettings::FullScreenStart},
    {"Allow display change", &ProgSettings::AllowDisplayChange},
    {"Enable snap indicator", &ProgSettings::EnableSnapIndicator},
    {"Tips enabled", &ProgSettings::TipsEnabled},
    {"One tip only", &ProgSettings::OneTipOnly},
    {"Advanced tips only", &ProgSettings::AdvancedTipsOnly},
    {"Auto dismiss tips", &ProgSettings::AutoDismissTips},
    {"Show tod clock", &ProgSettings::ShowTodClock},
    {"Show hints stat", &ProgSettings::ShowHintsStat},
    {"Prev save unfinished", &ProgSettings::PrevSaveUnfinished},
    {"Show welcome", &ProgSettings::ShowWelcome},
    {"Show more puzzles", &ProgSettings::ShowMorePuzzles},
    {"Use previous save folder", &ProgSettings::UsePreviousSaveFolder},
};

constexpr IntValue intValues[] = {
    {"Number of hints allowed", &ProgSettings::NumberOfHintsAllowed},
    {"Puzzle piece size", &ProgSettings::PuzzlePieceSize},
    {"Magnifier left", &ProgSettings::MagnifierLeft},
    {"Magnifier top", &ProgSettings::MagnifierTop},
    {"Magnifier width", &ProgSettings::MagnifierWidth},
    {"Magnifier height", &ProgSettings::MagnifierHeight},
    {"X Position", &ProgSettings::XPosition},
    {"Y Position", &ProgSettings::YPosition},
    {"Width", &ProgSettings::Width},
    {"Height", &ProgSettings::Height},
    {"Auto save interval", &ProgSettings::AutoSaveInterval},
    {"Snap distance", &ProgSettings::SnapDistance},
    {"Max table percentage", &ProgSettings::MaxTablePercentage},
    {"Background color", &ProgSettings::BackgroundColor},
    {"Full screen size", &ProgSettings::FullScreenSize},
    {"Next check date", &ProgSettings::NextCheckDate},
};

constexpr StringValue stringValues[] = {
    {"Save puzzle folder", &ProgSettings::SavePuzzleFolder},
    {"Word processor", &ProgSettings::WordProcessor},
    {"Music folder", &ProgSettings::MusicFolder},
};

constexpr ListValue listValues[] = {
    {"New puzzle folders", &ProgSettings::NewPuzzleFolders},
    {"Saved puzzle folders", &ProgSettings::SavedPuzzleFolders},
    {"Create puzzle folders", &ProgSettings::CreatePuzzleFolders},
    {"Recent puzzles", &ProgSettings::RecentPuzzles},
    {"Custom colors", &ProgSettings::CustomColors},
};

const QString snapLedName = QStringLiteral("Snap LED in Title");
const QString listPrefix = QStringLiteral("Item");
constexpr int daysToNextCheck = 90;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// Only the run-time list of printers says whether printing can work at all.
bool SystemCanPrint() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
  return ProgSettings::PrintersAreUsable(QPrinterInfo::availablePrinterNames());
}
}  // namespace

ProgSettings::ProgSettings()
    : ShowFileExts(::ShowFileExts()), NextCheckDate(TodayAsDayNumber() + daysToNextCheck) {
  PrintingAvailable = SystemCanPrint();
}

int ProgSettings::TodayAsDayNumber() {
  return static_cast<int>(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

bool ProgSettings::PrintersAreUsable(const QStringList& printerNames) {
  if (printerNames.size() > 1) return true;
  return printerNames.size() == 1 &&
         !printerNames.first().contains(QLatin1String("Rendering Subsystem on"));
}

bool ProgSettings::Load() { return Load(IniOverridePath()); }

bool ProgSettings::Load(const QString& iniOverride) {
  ERegistry reg;
  const bool intact = !reg.IsDamaged();
  if (intact) {
    ReadValues(reg);
    ReadLists(reg);
    Validate();
  } else {
    TMsgLog::Add(QStringLiteral("ProgSettings - settings store damaged, defaults used"));
  }
  ApplyIniOverride(iniOverride);
  return intact;
}

void ProgSettings::ReadValues(const ERegistry& reg) {
  for (const auto& v : boolValues) this->*v.field = reg.ReadBool({}, v.name, this->*v.field);
  for (const auto& v : intValues) this->*v.field = reg.ReadInt({}, v.name, this->*v.field);
  for (const auto& v : stringValues) this->*v.field = reg.ReadString({}, v.name, this->*v.field);
  const int snapLed = reg.ReadInt({}, snapLedName, SnapLedInTitle);
  SnapLedInTitle = InRange(snapLed, csNever, csWhenInvisible) ? static_cast<CaptionSetting>(snapLed)
                                                             : csWhenInvisible;
}

void ProgSettings::ReadLists(const ERegistry& reg) {
  for (const auto& v : listValues) this->*v.field = reg.ReadStringList(v.name, listPrefix);
}

// Later code divides by, loops over or sizes windows with these values: a value outside
// the range the options window offers takes its default.
void ProgSettings::Validate() {
  if (NumberOfHintsAllowed < -1) NumberOfHintsAllowed = -1;
  if (PuzzlePieceSize < 13) PuzzlePieceSize = 80;
  if (!InRange(SnapDistance, 1, 25)) SnapDistance = 5;
  if (!InRange(MaxTablePercentage, 10, 90)) MaxTablePercentage = 55;
  if (AutoSaveInterval != 0 && AutoSaveInterval != 1 && AutoSaveInterval != 5 &&
      AutoSaveInterval != 10 && AutoSaveInterval != 20)
    AutoSaveInterval = 0;
  if (!InRange(FullScreenSize, 0, 2)) FullScreenSize = 0;
  if (Width <= 0) Width = 762;
  if (Height <= 0) Height = 550;
  BackgroundColor &= 0xFFFFFF;
}

QString ProgSettings::IniOverridePath() {
  return GetExePath(true) + QStringLiteral("Tessavinelume.ini");
}

// The ini file beside the program may switch continuous refresh; it is only read.
void ProgSettings::ApplyIniOverride(const QString& path) {
  if (path.isEmpty() || !QFileInfo::exists(path)) return;
  QSettings ini(path, QSettings::IniFormat);
  const QString text = ini.value(QStringLiteral("Main/Continuous refresh")).toString().trimmed();
  if (text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
    ContinuousRefresh = true;
  else if (text == QLatin1String("0") ||
           text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
    ContinuousRefresh = false;
}

bool ProgSettings::Save() {
  ERegistry reg;
  WriteValues(reg);
  WriteLists(reg);
  if (reg.Flush()) return true;
  const QString message = QStringLiteral("Failure during registry save");
  TMsgLog::Add(message + QStringLiteral(" - ") + reg.ErrorString());
  Prompt::ShowApp(message + QStringLiteral(".\n\n") + reg.ErrorString(), Prompt::Stop);
  return false;
}

void ProgSettings::WriteValues(ERegistry& reg) const {
  for (const auto& v : boolValues) reg.WriteBool({}, v.name, this->*v.field);
  for (const auto& v : intValues) reg.WriteInt({}, v.name, this->*v.field);
  for (const auto& v : stringValues) reg.WriteString({}, v.name, this->*v.field);
  reg.WriteInt({}, snapLedName, SnapLedInTitle);
}

void ProgSettings::WriteLists(ERegistry& reg) const {
  for (const auto& v : listValues) reg.WriteStringList(v.name, this->*v.field, listPrefix);
}

ProgSettings* Settings() {
  static std::unique_ptr<ProgSettings> settings;
  if (!settings) {
    settings = std::make_unique<ProgSettings>();
    settings->Load();
  }
  return settings.get();
}
