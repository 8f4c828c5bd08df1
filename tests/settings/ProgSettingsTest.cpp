#include "TestEnvironment.h"
#include "Yelk/ERegistry.h"
#include "Yelk/Prompt.h"
#include "Yelk/ReplacingFile.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
QString StoreFile() { return ERegistry::FilePath(ERegistry::CurrentUser); }

void WriteStore(const QByteArray& content) { ASSERT_TRUE(TestEnvironment::WriteFile(StoreFile(), content)); }
QByteArray ReadStore() { return TestEnvironment::ReadFile(StoreFile()); }

// Every stored field away from its default.
void SetEveryStoredField(ProgSettings& s) {
  s.NumberOfHintsAllowed = 7; s.UpsideRight = true; s.IsolateEdges = false;
  s.UpsideRightCreate = true; s.AllowPreview = false;
  s.SavePuzzleFolder = "/home/p/saved, games"; s.ShowMainMenu = false;
  s.ContinuousRefresh = true; s.PuzzlePieceSize = 64; s.MagnifierLeft = 11; s.MagnifierTop = 12;
  s.MagnifierWidth = 300; s.MagnifierHeight = 200; s.EnableBackgroundSound = false;
  s.HideF11Message = true; s.AlignControlPanelToBottom = false; s.ShowFileExts = false;
  s.ShowHints = false; s.FullScaleBoxCover = true; s.SnapLedInTitle = csAlways; s.XPosition = -3;
  s.YPosition = 40; s.Width = 1024; s.Height = 700; s.Maximized = false; s.SoundEffects = false;
  s.AutoSaveInterval = 10; s.AdvancedVolumeControl = true; s.SnapDistance = 25;
  s.DefaultToLightBevel = true; s.DefaultToBevelOff = true; s.AutoRemoveBevel = true;
  s.ShowSeconds = true; s.SuppressApplause = true; s.MaxTablePercentage = 90;
  s.BackgroundColor = 0x123456; s.FullScreenSize = 2; s.FullScreenStart = true;
  s.AllowDisplayChange = false; s.EnableSnapIndicator = false; s.TipsEnabled = false;
  s.OneTipOnly = true; s.AdvancedTipsOnly = true; s.AutoDismissTips = false;
  s.WordProcessor = "libreoffice --writer"; s.MusicFolder = "/music"; s.ShowTodClock = true;
  s.ShowHintsStat = true; s.PrevSaveUnfinished = true; s.ShowWelcome = false;
  s.ShowMorePuzzles = true; s.UsePreviousSaveFolder = true; s.NextCheckDate = 45000;
  s.NewPuzzleFolders = {"/a", "/b"};
  s.SavedPuzzleFolders = {"/c"};
  s.CreatePuzzleFolders = {"/d", "/e", "/f"};
  s.RecentPuzzles = {"/x/1.saw", "/x/2.jig", "/x/3.jpg", "/x/4.bmp", "/x/5.qvp", "/x/6.saw",
                     "/x/7.saw", "/x/8.saw", "/x/9.saw", "/x/10.saw", "/x/11.saw"};
  s.CustomColors = {"ColorA=FFFFFF", "ColorB=808022"};
}

void ExpectSameStoredFields(const ProgSettings& a, const ProgSettings& b) {
#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
  SAME(NumberOfHintsAllowed); SAME(UpsideRight); SAME(IsolateEdges); SAME(UpsideRightCreate);
  SAME(AllowPreview); SAME(SavePuzzleFolder); SAME(ShowMainMenu); SAME(ContinuousRefresh);
  SAME(PuzzlePieceSize); SAME(MagnifierLeft); SAME(MagnifierTop); SAME(MagnifierWidth);
  SAME(MagnifierHeight); SAME(EnableBackgroundSound); SAME(HideF11Message);
  SAME(AlignControlPanelToBottom); SAME(ShowFileExts); SAME(ShowHints); SAME(FullScaleBoxCover);
  SAME(SnapLedInTitle); SAME(XPosition); SAME(YPosition); SAME(Width); SAME(Height);
  SAME(Maximized); SAME(SoundEffects); SAME(AutoSaveInterval); SAME(AdvancedVolumeControl);
  SAME(SnapDistance); SAME(DefaultToLightBevel); SAME(DefaultToBevelOff); SAME(AutoRemoveBevel);
  SAME(ShowSeconds); SAME(SuppressApplause); SAME(MaxTablePercentage); SAME(BackgroundColor);
  SAME(FullScreenSize); SAME(FullScreenStart); SAME(AllowDisplayChange);
  SAME(EnableSnapIndicator); SAME(TipsEnabled); SAME(OneTipOnly); SAME(AdvancedTipsOnly);
  SAME(AutoDismissTips); SAME(WordProcessor); SAME(MusicFolder); SAME(ShowTodClock);
  SAME(ShowHintsStat); SAME(PrevSaveUnfinished); SAME(ShowWelcome); SAME(ShowMorePuzzles);
  SAME(UsePreviousSaveFolder); SAME(NextCheckDate); SAME(NewPuzzleFolders);
  SAME(SavedPuzzleFolders); SAME(CreatePuzzleFolders); SAME(RecentPuzzles); SAME(CustomColors);
#undef SAME
}

class ProgSettingsTest : public ::testing::Test {
protected:
  void SetUp() override { QFile::remove(StoreFile()); }
  Prompt::Double prompts;
};
}  // namespace

TEST_F(ProgSettingsTest, EveryValueAndListRoundTripsUnderItsOwnName) {
  ProgSettings saved;
  SetEveryStoredField(saved);
  ASSERT_TRUE(saved.Save());

  ProgSettings loaded;
  ASSERT_TRUE(loaded.Load(QString()));
  ExpectSameStoredFields(saved, loaded);

  // The names other programs and later versions read.
  const QStringList expected = {
      "Number of hints allowed", "Upside right", "Isolate edges", "Upside right (create)",
      "Allow preview", "Save puzzle folder", "Show main menu", "Continuous refresh",
      "Puzzle piece size", "Magnifier left", "Magnifier top", "Magnifier width",
      "Magnifier height", "Enable background sound", "Hide F11 message",
      "Align control panel to bottom", "Show file exts", "Show hints", "Full scale box cover",
      "Snap LED in Title", "X Position", "Y Position", "Width", "Height", "Maximized",
      "Sound effects", "Auto save interval", "Advanced volume control", "Snap distance",
      "Default to light bevel", "Default to bevel off", "Auto remove bevel", "Show seconds",
      "Suppress applause", "Max table percentage", "Background color", "Full screen size",
      "Full screen start", "Allow display change", "Enable snap indicator", "Tips enabled",
      "One tip only", "Advanced tips only", "Auto dismiss tips", "Word processor",
      "Music folder", "Show tod clock", "Show hints stat", "Prev save unfinished",
      "Show welcome", "Show more puzzles", "Use previous save folder", "Next check date"};
  ERegistry reg;
  const QStringList names = reg.ValueNames({});
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()),
            QSet<QString>(expected.begin(), expected.end()));
  EXPECT_EQ(reg.ReadStringList("Recent puzzles", "Item"), saved.RecentPuzzles);
  EXPECT_EQ(reg.ReadStringList("Custom colors", "Item"), saved.CustomColors);

  // A shorter list leaves none of the longer one behind.
  saved.RecentPuzzles = {"/9"};
  ASSERT_TRUE(saved.Save());
  loaded.Load(QString());
  EXPECT_EQ(loaded.RecentPuzzles, QStringList{"/9"});
}

TEST_F(ProgSettingsTest, MissingStoreGivesDefaults) {
  ProgSettings s;
  EXPECT_TRUE(s.Load(QString()));
  ExpectSameStoredFields(ProgSettings(), s);
  EXPECT_EQ(s.PuzzlePieceSize, 80);
  EXPECT_EQ(s.SnapLedInTitle, csWhenInvisible);
  EXPECT_EQ(s.BackgroundColor, 0x7599B9);
  EXPECT_EQ(s.LastNewPieces, -1);
  EXPECT_GT(s.NextCheckDate, ProgSettings::TodayAsDayNumber());
}

// Only the readable lines of a garbled store count; it can be saved over.
TEST_F(ProgSettingsTest, GarbledStoreKeepsItsReadableLinesAndCanBeSavedOver) {
  WriteStore(QByteArray("\x01\xff[Puzzle piece size\nSnap distance=7\ngarbage line\n\0\0", 50));
  ProgSettings s;
  EXPECT_TRUE(s.Load(QString()));
  EXPECT_EQ(s.SnapDistance, 7);
  EXPECT_EQ(s.PuzzlePieceSize, 80);

  s.SnapDistance = 9;
  ASSERT_TRUE(s.Save());
  ProgSettings again;
  EXPECT_TRUE(again.Load(QString()));
  EXPECT_EQ(again.SnapDistance, 9);
  QFile::remove(StoreFile() + ".damaged");
}

// A store that cannot be read at all gives the defaults.
TEST_F(ProgSettingsTest, UnreadableStoreGivesDefaults) {
  ASSERT_TRUE(QDir().mkpath(StoreFile()));
  ProgSettings s;
  EXPECT_FALSE(s.Load(QString()));
  ExpectSameStoredFields(ProgSettings(), s);
  ASSERT_TRUE(QDir(StoreFile()).removeRecursively());
}

// Each kind of line a player's editor may leave costs that line only: every setting
// survives the start and the save at exit, and the store as found is kept beside it.
TEST_F(ProgSettingsTest, EverySettingSurvivesAnUnreadableLine) {
  ProgSettings saved;
  SetEveryStoredField(saved);
  ASSERT_TRUE(saved.Save());
  const QByteArray good = ReadStore();
  ASSERT_TRUE(good.startsWith("[General]\n"));
  const auto inGeneral = [&](const QByteArray& line) {
    QByteArray damaged = good;
    return damaged.insert(damaged.indexOf('\n', damaged.indexOf("Snap%20distance")) + 1, line);
  };
  QByteArray brokenHeader = good;
  brokenHeader.replace("[Recent%20puzzles]", "[Recent%20puzzles");
  const std::pair<const char*, QByteArray> cases[] = {
      {"no equals sign", inGeneral("Snap distance but no value\n")},
      {"hash comment", inGeneral("# keep the piece size small\n")},
      {"byte-order mark", "\xEF\xBB\xBF" + good},
      {"broken section header", brokenHeader},
      {"binary bytes", inGeneral(QByteArray("\x89PNG\x1a\x00\x00\x01\xff\x02\n", 11))},
      {"';' before the '='", inGeneral("My note; see Snap distance=7\n")},
      {"'=' only in quotes", inGeneral("\"old=1\"\n")},
      {"a vertical tab", inGeneral("\v\n")},
      {"a value that does not read back", inGeneral("Note=\\xd800\n")}};
  for (const auto& [name, damaged] : cases) {
    SCOPED_TRACE(name);
    WriteStore(damaged);
    QFile::remove(StoreFile() + ".damaged");
    ProgSettings started;
    EXPECT_TRUE(started.Load(QString()));
    ExpectSameStoredFields(saved, started);
    ASSERT_TRUE(started.Save());
    EXPECT_EQ(TestEnvironment::ReadFile(StoreFile() + ".damaged"), damaged);
    ProgSettings next;
    EXPECT_TRUE(next.Load(QString()));
    ExpectSameStoredFields(saved, next);
  }
  QFile::remove(StoreFile() + ".damaged");
}

// A bad stored value would otherwise reach the cutting loop, the table size or a timer.
TEST_F(ProgSettingsTest, WrongTypeOrOutOfRangeValueGivesItsDefault) {
  WriteStore(
      "[General]\n"
      "Puzzle%20piece%20size=12\n"
      "Snap%20distance=26\n"
      "Max%20table%20percentage=0\n"
      "Auto%20save%20interval=3\n"
      "Full%20screen%20size=3\n"
      "Snap%20LED%20in%20Title=-1\n"
      "Number%20of%20hints%20allowed=-2\n"
      "Width=0\n"
      "Height=-5\n"
      "Background%20color=-1\n"
      "Upside%20right=maybe\n"
      "Isolate%20edges=0\n"
      "X%20Position=99999999999\n"
      "Y%20Position=abc\n"
      "Music%20folder=@ByteArray(x)\n");
  ProgSettings s;
  ASSERT_TRUE(s.Load(QString()));
  EXPECT_EQ(s.PuzzlePieceSize, 80);
  EXPECT_EQ(s.SnapDistance, 5);
  EXPECT_EQ(s.MaxTablePercentage, 55);
  EXPECT_EQ(s.AutoSaveInterval, 0);
  EXPECT_EQ(s.FullScreenSize, 0);
  EXPECT_EQ(s.SnapLedInTitle, csWhenInvisible);
  EXPECT_EQ(s.NumberOfHintsAllowed, -1);
  EXPECT_EQ(s.Width, 762);
  EXPECT_EQ(s.Height, 550);
  EXPECT_EQ(s.BackgroundColor, 0xFFFFFF);
  EXPECT_FALSE(s.UpsideRight);
  EXPECT_FALSE(s.IsolateEdges);
  EXPECT_EQ(s.XPosition, 10);
  EXPECT_EQ(s.YPosition, 10);
  EXPECT_EQ(s.MusicFolder, QString());
}

// A full disk: the write fails part way. The old file must survive whole.
TEST_F(ProgSettingsTest, FailedSaveReportsAndKeepsTheOldFile) {
  ProgSettings first;
  first.SnapDistance = 7;
  ASSERT_TRUE(first.Save());
  const QByteArray before = ReadStore();
  ASSERT_FALSE(before.isEmpty());

  ProgSettings second;
  SetEveryStoredField(second);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = static_cast<rlim_t>(before.size()) / 2;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = second.Save();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);

  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadStore(), before);
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_TRUE(prompts.Shown().first().text.startsWith("Failure during registry save.\n\n"));
  EXPECT_GT(prompts.Shown().first().text.size(), QString("Failure during registry save.\n\n").size());
  ProgSettings loaded;
  loaded.Load(QString());
  EXPECT_EQ(loaded.SnapDistance, 7);
}

// The message says why, in the system's words.
TEST_F(ProgSettingsTest, FailedSaveSaysWhy) {
  ReplacingFile::SetFaultHook([](ReplacingFile::Step step) { return step == ReplacingFile::Step::Sync ? EIO : 0; });
  ProgSettings s;
  const bool saved = s.Save();
  ReplacingFile::SetFaultHook({});
  EXPECT_FALSE(saved);
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(prompts.Shown().first().text,
            "Failure during registry save.\n\n" + QString::fromLocal8Bit(std::strerror(EIO)));
  EXPECT_FALSE(QFileInfo::exists(StoreFile()));
}

TEST_F(ProgSettingsTest, IniBesideTheProgramSwitchesContinuousRefresh) {
  const QString ini = TestEnvironment::ScratchFolder() + "/Tessavinelume.ini";
  auto writeIni = [&](const QByteArray& text) { ASSERT_TRUE(TestEnvironment::WriteFile(ini, text)); };
  writeIni("[Main]\nContinuous refresh=1\n");
  ProgSettings s;
  s.Load(ini);
  EXPECT_TRUE(s.ContinuousRefresh);

  ProgSettings stored;
  stored.ContinuousRefresh = true;
  ASSERT_TRUE(stored.Save());
  writeIni("[Main]\nContinuous refresh=0\n");
  s.Load(ini);
  EXPECT_FALSE(s.ContinuousRefresh);
  writeIni("[Other]\nContinuous refresh=0\n");
  s.Load(ini);
  EXPECT_TRUE(s.ContinuousRefresh);
}

namespace {
// The test's own reading of a store, line by line: the section each header names (its
// text; "[General]" before any), the game's own key lines by their raw key, the later one
// counting, and whether anything of the store is lost. Its clean store is what the damaged
// one must read like.
enum class Kind { Blank, Header, ClosedHeader, BadHeader, Key, Garbage, Unwritable };

// A line a store reader reads on its own: empty, a comment, or an '=' before any ';', both
// outside quotes and not behind a backslash.
bool ReadableAlone(const QByteArray& line) {
  qsizetype i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  if (i == line.size() || line[i] == ';') return true;
  for (bool quoted = false; i < line.size(); ++i) {
    if (line[i] == '\\') ++i;
    else if (line[i] == '"') quoted = !quoted;
    else if (!quoted && (line[i] == ';' || line[i] == '=')) return line[i] == '=';
  }
  return false;
}

struct StoreModel {
  QMap<QByteArray, QMap<QByteArray, QByteArray>> sections;
  bool lost = false;

  explicit StoreModel(const std::vector<std::pair<QByteArray, Kind>>& lines) {
    QByteArray section = "[General]";
    bool named = true;
    for (const auto& [line, kind] : lines) {
      if (kind == Kind::Header || kind == Kind::ClosedHeader) section = kind == Kind::Header ? line : line + ']';
      named = kind == Kind::BadHeader ? false : kind == Kind::Header || kind == Kind::ClosedHeader || named;
      // The game writes its lists whole: what else stands in their sections goes unread.
      const bool list = section.endsWith("folders]") || section == "[Recent%20puzzles]" || section == "[Custom%20colors]";
      lost = lost || kind == Kind::ClosedHeader || kind == Kind::BadHeader || (kind == Kind::Unwritable && !list) ||
             (kind == Kind::Garbage && !ReadableAlone(line));
      if (kind != Kind::Key || !named) continue;
      const QByteArray key = line.left(line.indexOf('='));
      lost = lost || sections[section].contains(key);
      sections[section][key] = line;
    }
  }
  QByteArray Clean() const {
    QByteArray text;
    for (auto s = sections.cbegin(); s != sections.cend(); ++s)
      text += s.key() + '\n' + QList<QByteArray>(s->cbegin(), s->cend()).join('\n') + '\n';
    return text;
  }
};

// Random lines of every kind: bytes, printable text rich in what the format gives meaning
// to, invalid UTF-8, lone surrogates, the game's keys again, and section headers good and bad.
std::pair<QByteArray, Kind> RandomLine(QRandomGenerator& random) {
  static const QByteArray rich = ";\"\\=[]\t\v\f ab%@,x0d8";
  static const QByteArray headers[] = {"[P1]", "[P2]", "[General]", "[Recent%20puzzles]"};
  static const QByteArray badHeaders[] = {"[]", "[ ]", "[a;b]", "[\\]", "[x\\\\y]"};
  QByteArray line;
  const int length = random.bounded(24);
  switch (random.bounded(9)) {
    case 0:
      for (int i = 0; i < length; ++i) line += char(random.bounded(256));
      break;
    case 1: case 2:
      for (int i = 0; i < length; ++i) line += rich[random.bounded(int(rich.size()))];
      break;
    case 3:
      for (int i = 0; i < length; ++i) line += char(random.bounded(2) ? 0x80 + random.bounded(128) : '=');
      break;
    case 4:
      return {"Lone=a\\xd" + QByteArray::number(8 + random.bounded(8), 16) + "00z", Kind::Unwritable};
    case 5:
      return {"Snap%20distance=" + QByteArray::number(random.bounded(30)), Kind::Key};
    case 6:
      return {headers[random.bounded(4)], Kind::Header};
    case 7:
      return {random.bounded(2) ? QByteArray("[P1") : QByteArray("[P3"), Kind::ClosedHeader};
    default:
      return {badHeaders[random.bounded(5)], Kind::BadHeader};
  }
  line.replace('\n', 'n').replace('\r', 'r');
  qsizetype first = 0;
  while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
  if (first < line.size() && line[first] == '[') line[first] = '(';
  return {line, Kind::Garbage};
}
}  // namespace

// Thousands of stores, each the game's own with random lines put in at random places:
// after a start and after Exit every setting holds what the model's clean store gives it,
// and the store as found is kept beside it whenever anything of it was lost.
TEST_F(ProgSettingsTest, RandomLinesCostOnlyWhatTheModelSays) {
  // Saves sync every file: in memory they cost next to nothing.
  const QByteArray config = qgetenv("XDG_CONFIG_HOME"), temporary = qgetenv("TMPDIR");
  QTemporaryDir fast((QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath()) + "/settings-XXXXXX");
  qputenv("XDG_CONFIG_HOME", fast.path().toLocal8Bit());
  qputenv("TMPDIR", fast.path().toLocal8Bit());
  ProgSettings saved;
  SetEveryStoredField(saved);
  ASSERT_TRUE(saved.Save());
  std::vector<std::pair<QByteArray, Kind>> game;
  for (const QByteArray& line : ReadStore().split('\n'))
    game.emplace_back(line, line.isEmpty() ? Kind::Blank : line.startsWith('[') ? Kind::Header : Kind::Key);
  const ProgSettings pristine;  // built once: it asks the system for its printers
  QRandomGenerator random(53);
  for (int round = 0; round < 2000 && !HasFailure(); ++round) {
    std::vector<std::pair<QByteArray, Kind>> lines = game;
    for (int n = random.bounded(1, 5); n > 0; --n)
      lines.insert(lines.begin() + random.bounded(int(lines.size())), RandomLine(random));
    const StoreModel model(lines);
    WriteStore(model.Clean());
    ProgSettings expected = pristine;
    ASSERT_TRUE(expected.Load(QString()));
    QByteArray found;
    for (const auto& line : lines) found += line.first + '\n';
    SCOPED_TRACE(found.toPercentEncoding(" =[];\"\\%").toStdString());
    WriteStore(found);
    QFile::remove(StoreFile() + ".damaged");
    ProgSettings started = pristine;
    EXPECT_TRUE(started.Load(QString()));
    ExpectSameStoredFields(expected, started);
    ASSERT_TRUE(started.Save());
    const QByteArray copy = TestEnvironment::ReadFile(StoreFile() + ".damaged");
    EXPECT_EQ(copy, model.lost || !copy.isEmpty() ? found : QByteArray());
    ProgSettings next = pristine;
    EXPECT_TRUE(next.Load(QString()));
    ExpectSameStoredFields(expected, next);
  }
  qputenv("XDG_CONFIG_HOME", config);
  qputenv("TMPDIR", temporary);
}

TEST(ProgSettingsPrinting, OnlyARealPrinterCounts) {
  EXPECT_FALSE(ProgSettings::PrintersAreUsable({}));
  EXPECT_FALSE(ProgSettings::PrintersAreUsable({"Microsoft XPS Rendering Subsystem on port"}));
  EXPECT_TRUE(ProgSettings::PrintersAreUsable({"Laser"}));
  EXPECT_TRUE(ProgSettings::PrintersAreUsable({"Rendering Subsystem on a", "Rendering Subsystem on b"}));
}
