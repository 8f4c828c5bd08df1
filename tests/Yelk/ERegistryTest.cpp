#include "TestEnvironment.h"
#include "Yelk/ERegistry.h"
#include "Yelk/TMsgLog.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
class ERegistryTest : public ::testing::Test {
protected:
  void SetUp() override { QFile::remove(ERegistry::FilePath(ERegistry::CurrentUser)); }
};
}  // namespace

TEST_F(ERegistryTest, BinaryValueMissingEmptyOrTextReadsAsNothing) {
  std::unique_ptr<std::uint8_t[]> data;
  EXPECT_EQ(ERegistry::QuickReadBinary({}, "Tips history", data), 0);
  EXPECT_EQ(data, nullptr);

  ASSERT_TRUE(ERegistry::QuickWriteBinary({}, "Tips history", nullptr, 0));
  EXPECT_TRUE(ERegistry().ValueExists({}, "Tips history"));
  EXPECT_EQ(ERegistry::QuickReadBinary({}, "Tips history", data), 0);
  EXPECT_EQ(data, nullptr);

  const std::uint8_t bytes[] = {0, 255, 10, 13, '\\', '"', 7};
  ASSERT_TRUE(ERegistry::QuickWriteBinary({}, "Tips history", bytes, sizeof bytes));
  ASSERT_EQ(ERegistry::QuickReadBinary({}, "Tips history", data), int(sizeof bytes));
  EXPECT_EQ(std::memcmp(data.get(), bytes, sizeof bytes), 0);

  ASSERT_TRUE(ERegistry::QuickWriteInt({}, "Tips unavailable", 5));
  EXPECT_EQ(ERegistry::QuickReadBinary({}, "Tips unavailable", data), 0);
  EXPECT_EQ(data, nullptr);
}

TEST_F(ERegistryTest, AwkwardTextSurvivesAndWrongTypesGiveTheDefault) {
  ERegistry reg;
  const QString awkward = QString::fromUtf8("@a, b; \"c\" \\d = é\n");
  reg.WriteString({}, "Save puzzle folder", awkward);
  reg.WriteString({}, "Number", "12x");
  ASSERT_TRUE(reg.Flush());
  EXPECT_EQ(ERegistry::QuickReadString({}, "Save puzzle folder", "def"), awkward);
  EXPECT_EQ(ERegistry::QuickReadInt({}, "Number", -7), -7);
  EXPECT_EQ(ERegistry::QuickReadInt({}, "Missing", 3), 3);
}

// The ini layer caches files by name and time stamp; quick successive saves must not read
// back an older value.
TEST_F(ERegistryTest, EveryWriteIsSeenByTheNextRead) {
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(ERegistry::QuickWriteInt({}, "Window handle", 1000 + i % 2));
    ASSERT_EQ(ERegistry::QuickReadInt({}, "Window handle", 0), 1000 + i % 2) << i;
  }
}

TEST_F(ERegistryTest, KeysBelowTheBaseKeyAreGroupsAndListsKeepTheirOrder) {
  ERegistry reg;
  reg.WriteInt(ERegistry::AppUserKey + "\\Sub\\Deeper", "A", 1);
  reg.WriteInt("Sub", "B", 2);
  QStringList list;
  for (int i = 0; i < 12; ++i) list << QString("/folder/%1").arg(i);
  reg.WriteStringList("Recent puzzles", list, "Item");
  ASSERT_TRUE(reg.Flush());

  ERegistry back;
  EXPECT_EQ(back.ReadInt("Sub\\Deeper", "A", 0), 1);
  EXPECT_EQ(back.ValueNames("Sub"), QStringList{"B"});
  EXPECT_EQ(back.ReadStringList("Recent puzzles", "Item"), list);
  EXPECT_TRUE(back.ValueNames({}).isEmpty());
}

TEST_F(ERegistryTest, HandEditedListSkipsForeignNamesAndGaps) {
  ASSERT_TRUE(TestEnvironment::WriteFile(ERegistry::FilePath(ERegistry::CurrentUser),
                                         "[Recent%20puzzles]\nItem10=ten\nItem2=two\nItemX=no\nOther1=no\nItem-1=no\n"));
  EXPECT_EQ(ERegistry().ReadStringList("Recent puzzles", "Item"), QStringList({"two", "ten"}));
}

TEST_F(ERegistryTest, MachineKeyIsReadOnlyAndComesFromTheSystemFolders) {
  const QString system = TestEnvironment::ScratchFolder() + "/system";
  qputenv("XDG_CONFIG_DIRS", system.toUtf8());
  const QString path = ERegistry::FilePath(ERegistry::LocalMachine);
  ASSERT_TRUE(path.startsWith(system));
  ASSERT_TRUE(TestEnvironment::WriteFile(path, "[Text%20Converters]\nPath=/opt/conv\n"));

  EXPECT_EQ(ERegistry::QuickReadString("Text Converters", "Path", {}, ERegistry::LocalMachine),
            "/opt/conv");
  EXPECT_EQ(ERegistry::QuickValueNames("Text Converters", ERegistry::LocalMachine),
            QStringList{"Path"});
  EXPECT_FALSE(ERegistry::QuickWriteInt({}, "X", 1, ERegistry::LocalMachine));
  EXPECT_EQ(TestEnvironment::ReadFile(path), "[Text%20Converters]\nPath=/opt/conv\n");
  qunsetenv("XDG_CONFIG_DIRS");
}

namespace {
QString Store() { return ERegistry::FilePath(ERegistry::CurrentUser); }
}  // namespace

// One line the reader cannot read must not cost the others: each such line is left out
// with a log line, and the store as found is kept aside before a write drops it for good.
TEST_F(ERegistryTest, UnreadableLinesAreSkippedOneByOne) {
  const QByteArray found =
      "\xEF\xBB\xBF[General]\n"
      "Snap%20distance=7\n"
      "words without an equals sign\n"
      "# a note of the player's\n"
      "; a comment the reader knows\n"
      "Width=900\r\n"
      + QByteArray("\x01\xff\xfe\x00 binary=\x80\n", 14) +
      "Open=\"never closed\n"
      "Height=640\n"
      "[Recent%20puzzles\n"
      "Item0=/games/a.saw\n"
      "Item1=/games/b.saw\n";
  ASSERT_TRUE(TestEnvironment::WriteFile(Store(), found));
  TMsgLog::Clear();
  ERegistry reg;
  EXPECT_FALSE(reg.IsDamaged());
  EXPECT_EQ(reg.ReadInt({}, "Snap distance", 0), 7);
  EXPECT_EQ(reg.ReadInt({}, "Width", 0), 900);
  EXPECT_EQ(reg.ReadInt({}, "Height", 0), 640);
  EXPECT_EQ(reg.ReadStringList("Recent puzzles", "Item"), QStringList({"/games/a.saw", "/games/b.saw"}));
  EXPECT_FALSE(reg.ValueExists({}, "Open"));
  const QString log = TMsgLog::GetLogAsString();
  for (const char* line : {"line 1: byte-order mark", "line 3: skipped", "line 4: skipped", "line 7: skipped",
                           "line 8: skipped", "line 10: section header closed"})
    EXPECT_TRUE(log.contains(line)) << line << "\n" << qPrintable(log);
  EXPECT_FALSE(log.contains("line 5")) << qPrintable(log);
  EXPECT_FALSE(log.contains("line 6")) << qPrintable(log);
  EXPECT_FALSE(QFileInfo::exists(Store() + ".damaged"));

  reg.WriteInt({}, "Snap distance", 8);
  ASSERT_TRUE(reg.Flush());
  EXPECT_EQ(TestEnvironment::ReadFile(Store() + ".damaged"), found);
  ERegistry again;
  EXPECT_EQ(again.ReadInt({}, "Snap distance", 0), 8);
  EXPECT_EQ(again.ReadInt({}, "Width", 0), 900);
  EXPECT_EQ(again.ReadStringList("Recent puzzles", "Item"), QStringList({"/games/a.saw", "/games/b.saw"}));

  // Clean now: a later write keeps the copy of the damaged store, the newest only.
  ASSERT_TRUE(TestEnvironment::WriteFile(Store() + ".damaged", "older copy"));
  again.WriteInt({}, "Width", 901);
  ASSERT_TRUE(again.Flush());
  EXPECT_EQ(TestEnvironment::ReadFile(Store() + ".damaged"), "older copy");
  QFile::remove(Store() + ".damaged");
}

// Line ends of another system and values the writer quotes are not damage.
TEST_F(ERegistryTest, ForeignLineEndsAndQuotedValuesAreNotDamage) {
  ASSERT_TRUE(TestEnvironment::WriteFile(
      Store(), "[General]\r\nSave%20puzzle%20folder=\"a;b, \\\"c\\\"\"\r\nWidth=5\r\n; note\r\n"));
  TMsgLog::Clear();
  ERegistry reg;
  EXPECT_EQ(reg.ReadString({}, "Save puzzle folder", {}), "a;b, \"c\"");
  EXPECT_EQ(reg.ReadInt({}, "Width", 0), 5);
  EXPECT_FALSE(TMsgLog::GetLogAsString().contains("line ")) << qPrintable(TMsgLog::GetLogAsString());
  reg.WriteInt({}, "Width", 6);
  ASSERT_TRUE(reg.Flush());
  EXPECT_FALSE(QFileInfo::exists(Store() + ".damaged"));
}

// A byte-order mark costs nothing of the line it stands on, and a line left open by a
// backslash at its end is skipped alone, without taking the next setting with it.
TEST_F(ERegistryTest, ByteOrderMarkAndTrailingBackslashCostOnlyThemselves) {
  ASSERT_TRUE(TestEnvironment::WriteFile(Store(), "\xEF\xBB\xBFWidth=900\nPath=C:\\\nHeight=640\n"));
  TMsgLog::Clear();
  ERegistry reg;
  EXPECT_EQ(reg.ReadInt({}, "Width", 0), 900);
  EXPECT_EQ(reg.ReadInt({}, "Height", 0), 640);
  EXPECT_FALSE(reg.ValueExists({}, "Path"));
  const QString log = TMsgLog::GetLogAsString();
  EXPECT_FALSE(log.contains("line 1: skipped")) << qPrintable(log);
  EXPECT_TRUE(log.contains("line 2: skipped")) << qPrintable(log);
  EXPECT_FALSE(log.contains("line 3")) << qPrintable(log);
  EXPECT_FALSE(QFileInfo::exists(Store() + ".damaged"));
}
