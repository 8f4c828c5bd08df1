#include "TestEnvironment.h"
#include "Yelk/ERegistry.h"
#include "Yelk/TMsgLog.h"

#include <QDir>
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
  EXPECT_FALSE(QFileInfo::exists(ERegistry::FilePath(ERegistry::CurrentUser) + ".damaged"));  // a new store lost nothing

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

// Each line costs only itself: every other setting survives the read and the write, the
// line itself keeps what the ini reader makes of it alone, and a store that lost anything
// is kept as found beside itself, once.
TEST_F(ERegistryTest, StoreLinesCostOnlyThemselves) {
  const QByteArray before = "[General]\nSnap%20distance=7\n";
  const QByteArray after = "Width=900\n[Recent%20puzzles]\nItem0=/games/a.saw\n";
  struct Case {
    QByteArray line;
    const char* note;   // in the log's "line 3: ..." when the line is dropped or mended
    const char* key;    // the line's own key, when it is kept
    QVariant value;
    const char* width = "Width";  // where the next line lands: nullptr when its section cannot be named
  };
  const Case cases[] = {
      {"My note; see Snap distance=7", "line 3: skipped, not readable", nullptr, {}},
      {"\"old=1\"", "line 3: skipped", nullptr, {}},
      {"old\\=1", "line 3: skipped", nullptr, {}},
      {"\v", "line 3: skipped", nullptr, {}},
      {"\f", "line 3: skipped", nullptr, {}},
      {"[Sec;tion]", "line 3: section header cut", nullptr, {}, nullptr},
      {"[]", "line 3: section without a name", nullptr, {}, nullptr},
      {"[Other", "line 3: section header closed", nullptr, {}, "Other/Width"},
      {"[ \\ ]", "line 3: section without a name", nullptr, {}, nullptr},
      {"/x=1", "line 3: skipped, a key without a name", nullptr, {}},
      {"Shape=@Rect(1 2 3 4)", "line 3: skipped, a kind of value", nullptr, {}},
      {"Note=\\xd800", "does not read back as written", "Note", QString(QChar(0xD800))},
      {"Snap%20distance=9", "line 2: given again on line 3", "Snap distance", "9"},
      {"Open=\"never closed", nullptr, "Open", "never closed"},
      {"Path=C:\\", nullptr, "Path", "C:"},
      {"Saved=/games/a=b.saw", nullptr, "Saved", "/games/a=b.saw"},
      {"Folder=a;b, c", nullptr, "Folder", "a"},
      {"List=a, \"b;c\", @@d", nullptr, "List", QStringList({"a", "b;c", "@d"})},
      {"Items=a, @String(b\\0c)", nullptr, "Items", QStringList({"a", QString::fromLatin1("b\0c", 3)})},
      {"Bytes=@ByteArray(\\0\\xff)", nullptr, "Bytes", QByteArray("\0\xff", 2)},
      {"Odd=\xc3\\n\xa9\xff", nullptr, "Odd", QString::fromUtf8("\n\xc3\xa9\xef\xbf\xbd")},
      {"\t; a comment", nullptr, nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.toStdString());
    const QByteArray found = before + c.line + "\n" + after;
    ASSERT_TRUE(TestEnvironment::WriteFile(Store(), found));
    QFile::remove(Store() + ".damaged");
    TMsgLog::Clear();
    {
      ERegistry reg;
      EXPECT_FALSE(reg.IsDamaged());
      reg.WriteInt({}, "Height", 640);
      ASSERT_TRUE(reg.Flush()) << reg.ErrorString().toStdString();
      reg.WriteInt({}, "Height", 640);  // a later save keeps the copy as it was found
      ASSERT_TRUE(reg.Flush());
    }
    const QString log = TMsgLog::GetLogAsString();
    if (c.note) {
      EXPECT_TRUE(log.contains(c.note)) << qPrintable(log);
    }
    EXPECT_EQ(log.contains("ERegistry - "), c.note != nullptr) << qPrintable(log);
    EXPECT_EQ(TestEnvironment::ReadFile(Store() + ".damaged"), c.note ? found : QByteArray());
    ERegistry back;
    EXPECT_EQ(back.ReadInt({}, "Snap distance", 0), c.key && QByteArray(c.key) == "Snap distance" ? 9 : 7);
    EXPECT_EQ(c.width ? back.ReadInt({}, c.width, 0) : 0, c.width ? 900 : 0);
    EXPECT_EQ(back.ReadInt({}, "Height", 0), 640);
    EXPECT_EQ(back.ReadStringList("Recent puzzles", "Item"), QStringList{"/games/a.saw"});
    const bool ownKept = c.key && !log.contains("read back");
    const QStringList names = back.ValueNames({}, true);
    EXPECT_EQ(names.size(), 3 + (c.width != nullptr) + (ownKept && QByteArray(c.key) != "Snap distance"))
        << qPrintable(names.join('|'));
    if (ownKept && c.value.typeId() == QMetaType::QByteArray) {
      EXPECT_EQ(back.ReadBinary({}, c.key), c.value.toByteArray());
    } else if (ownKept) {
      EXPECT_EQ(back.ReadString({}, c.key, {}), c.value.typeId() == QMetaType::QStringList
                                                    ? c.value.toStringList().join(", ") : c.value.toString());
    }
  }
  QFile::remove(Store() + ".damaged");
}

// A store that cannot be read is never written over: not by the settings' save, not by a
// single quick write.
TEST_F(ERegistryTest, UnreadableStoreIsLeftAsItIs) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(Store()).absolutePath()));
  ASSERT_TRUE(QFile::link(QFileInfo(Store()).fileName(), Store()));  // a link to itself
  ERegistry reg;
  EXPECT_TRUE(reg.IsDamaged());
  reg.WriteInt({}, "Width", 1);
  EXPECT_FALSE(reg.Flush());
  EXPECT_TRUE(reg.ErrorString().contains("could not be read")) << reg.ErrorString().toStdString();
  EXPECT_FALSE(ERegistry::QuickWriteInt({}, "Width", 2));
  EXPECT_TRUE(QFileInfo(Store()).isSymLink());
  QFile::remove(Store());
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

