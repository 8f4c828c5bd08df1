#include "TestEnvironment.h"
#include "Yelk/ERegistry.h"

#include <QFile>
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
