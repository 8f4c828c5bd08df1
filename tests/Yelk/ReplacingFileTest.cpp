#include "TestEnvironment.h"
#include "Yelk/PendingFiles.h"
#include "Yelk/ReplacingFile.h"
#include "Yelk/TMsgLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <vector>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
using Step = ReplacingFile::Step;

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class ReplacingFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    folder = TestEnvironment::ScratchFolder() + "/replacing-" +
             QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
    PendingFiles::SetListPath(folder + "/pending.list");
    target = folder + "/game.saw";
  }
  void TearDown() override {
    ReplacingFile::SetFaultHook({});
    PendingFiles::SetListPath({});
  }
  // The folder's entries besides the list of pending files.
  QStringList Entries() const {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll("pending.list");
    return names;
  }
  QString folder;
  QString target;
};

// Writers left open as a killed run leaves them: they go only when the program ends.
ReplacingFile& Abandoned(const QString& target) {
  static std::vector<std::unique_ptr<ReplacingFile>> files;
  files.push_back(std::make_unique<ReplacingFile>(target));
  return *files.back();
}

// Fails the n-th time the step is reached, with error; counts every step it sees.
struct FailAt {
  Step step;
  int nth;
  int error;
  std::shared_ptr<int> seen = std::make_shared<int>(0);
  int operator()(Step reached) const {
    if (reached != step) return 0;
    return ++*seen == nth ? error : 0;
  }
};
}  // namespace

// A failure anywhere up to the rename must leave the old file exactly as it was, nothing
// else in the folder, nothing left in the list, and the system's reason as the error.
TEST_F(ReplacingFileTest, EveryFailedStepLeavesTheOldFileAndSaysWhy) {
  const QByteArray before("old contents");
  const QByteArray after(3 * ReplacingFile::ChunkSize + 17, 'n');
  const struct {
    Step step;
    int nth;
    int error;
  } cases[] = {{Step::Create, 1, EACCES}, {Step::Write, 1, ENOSPC}, {Step::Write, 3, EIO},
               {Step::Write, 4, EDQUOT},  {Step::Sync, 1, EIO},     {Step::Close, 1, EIO},
               {Step::Rename, 1, EXDEV}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << int(c.step) << " #" << c.nth);
    ASSERT_TRUE(TestEnvironment::WriteFile(target, before));
    ReplacingFile::SetFaultHook(FailAt{c.step, c.nth, c.error});
    QString error;
    EXPECT_FALSE(ReplacingFile::Replace(target, after, &error));
    EXPECT_EQ(error, Reason(c.error));
    EXPECT_EQ(TestEnvironment::ReadFile(target), before);
    EXPECT_EQ(Entries(), QStringList{"game.saw"});
    EXPECT_FALSE(QFileInfo::exists(PendingFiles::ListPath()));
  }
  ReplacingFile::SetFaultHook({});
  ASSERT_TRUE(ReplacingFile::Replace(target, after));
  EXPECT_EQ(TestEnvironment::ReadFile(target), after);
  EXPECT_EQ(Entries(), QStringList{"game.saw"});
}

// The system's own failures, not only acted ones: a folder that does not exist, a full
// disk as the file-size limit gives it.
TEST_F(ReplacingFileTest, RealFailuresGiveTheSystemsReason) {
  QString error;
  EXPECT_FALSE(ReplacingFile::Replace(folder + "/missing/game.saw", "x", &error));
  EXPECT_EQ(error, Reason(ENOENT));

  // The disk takes part of a write and refuses the rest.
  ASSERT_TRUE(TestEnvironment::WriteFile(target, "old"));
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 1000;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = ReplacingFile::Replace(target, QByteArray(5000, 'x'), &error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  EXPECT_EQ(error, Reason(EFBIG));
  EXPECT_EQ(TestEnvironment::ReadFile(target), "old");

  ReplacingFile::SetFaults({false, 10});
  EXPECT_FALSE(ReplacingFile::Replace(target, QByteArray(100, 'x'), &error));
  ReplacingFile::SetFaults({});
  EXPECT_EQ(error, Reason(ENOSPC));
  EXPECT_EQ(TestEnvironment::ReadFile(target), "old");
}

// After the rename the new file is whole: a folder that will not sync is a log line.
TEST_F(ReplacingFileTest, FolderSyncFailureIsLoggedNotFailed) {
  TMsgLog::Clear();
  ReplacingFile::SetFaultHook(FailAt{Step::FolderSync, 1, EIO});
  QString error;
  EXPECT_TRUE(ReplacingFile::Replace(target, "new", &error));
  EXPECT_EQ(TestEnvironment::ReadFile(target), "new");
  const QString log = TMsgLog::GetLogAsString();
  EXPECT_TRUE(log.contains(target) && log.contains(Reason(EIO))) << qPrintable(log);
}

// Every chunk is a write of its own, and each is checked: the count of writes tells.
TEST_F(ReplacingFileTest, WritesGoInChunksAndAnEmptyFileIsFine) {
  int writes = 0;
  ReplacingFile::SetFaultHook([&](Step step) { return step == Step::Write ? (++writes, 0) : 0; });
  ASSERT_TRUE(ReplacingFile::Replace(target, QByteArray(2 * ReplacingFile::ChunkSize + 1, 'c')));
  EXPECT_EQ(writes, 3);
  EXPECT_EQ(QFileInfo(target).size(), 2 * ReplacingFile::ChunkSize + 1);
  ASSERT_TRUE(ReplacingFile::Replace(target, QByteArray()));
  EXPECT_EQ(QFileInfo(target).size(), 0);
}

// A link stays a link to the replaced file, and the old file's permission bits stay.
TEST_F(ReplacingFileTest, LinksAreFollowedAndPermissionsKept) {
  const QString real = folder + "/real.txt";
  const QString link = folder + "/link.txt";
  ASSERT_TRUE(TestEnvironment::WriteFile(real, "old"));
  ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0751), 0);
  ASSERT_TRUE(QFile::link(real, link));
  ASSERT_TRUE(ReplacingFile::Replace(link, "new"));
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(TestEnvironment::ReadFile(real), "new");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0751u);
}

// A writer that writes the new file by its path (a converter): its bytes are synced too.
TEST_F(ReplacingFileTest, ReservedFileIsSyncedBeforeTheRename) {
  ASSERT_TRUE(TestEnvironment::WriteFile(target, "old"));
  ReplacingFile::SetFaultHook(FailAt{Step::Sync, 1, EIO});
  {
    ReplacingFile file(target);
    ASSERT_TRUE(file.Reserve());
    ASSERT_TRUE(TestEnvironment::WriteFile(file.NewPath(), "converted"));
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.ErrorString(), Reason(EIO));
  }
  EXPECT_EQ(TestEnvironment::ReadFile(target), "old");
  EXPECT_EQ(Entries(), QStringList{"game.saw"});
  ReplacingFile::SetFaultHook({});
  ReplacingFile file(target);
  ASSERT_TRUE(file.Reserve());
  ASSERT_TRUE(TestEnvironment::WriteFile(file.NewPath(), "converted"));
  EXPECT_TRUE(file.Commit());
  EXPECT_EQ(TestEnvironment::ReadFile(target), "converted");
}

// An unfinished new file is in the list until its rename; the next start removes exactly
// the recorded files, never a file of the player's that merely looks like one.
TEST_F(ReplacingFileTest, LeftoversAreRecordedAndOnlyTheyAreSwept) {
  QString leftover;
  {
    ReplacingFile& file = Abandoned(target);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write("half"));
    leftover = file.NewPath();
    EXPECT_TRUE(QFileInfo(leftover).fileName().startsWith(".game-"));
    EXPECT_TRUE(TestEnvironment::ReadFile(PendingFiles::ListPath()).contains(QFile::encodeName(QFileInfo(leftover).fileName())));
  }
  // A second one, removed and made again by the player under the same name.
  ReplacingFile second(folder + "/other.saw");
  ASSERT_TRUE(second.Open());
  const QString lookalike = second.NewPath();
  ASSERT_TRUE(QFile::remove(lookalike));
  ASSERT_TRUE(TestEnvironment::WriteFile(lookalike, "the player's"));
  ASSERT_TRUE(TestEnvironment::WriteFile(folder + "/.game-abc.saw", "the player's too"));

  TMsgLog::Clear();
  EXPECT_EQ(PendingFiles::Sweep(), 1);
  EXPECT_FALSE(QFileInfo::exists(leftover));
  EXPECT_EQ(TestEnvironment::ReadFile(lookalike), "the player's");
  EXPECT_TRUE(QFileInfo::exists(folder + "/.game-abc.saw"));
  EXPECT_TRUE(TMsgLog::GetLogAsString().contains(leftover));
  EXPECT_FALSE(QFileInfo::exists(PendingFiles::ListPath()));
  EXPECT_EQ(PendingFiles::Sweep(), 0);
}

// Names with blanks, percent signs and line breaks survive the list.
TEST_F(ReplacingFileTest, ListKeepsAnyName) {
  for (const QString name : {"a b%20c.saw", "line\nbreak.saw", "ünï.saw"}) {
    SCOPED_TRACE(qPrintable(name));
    ReplacingFile& file = Abandoned(folder + "/" + name);
    ASSERT_TRUE(file.Open());
    const QString left = file.NewPath();
    EXPECT_EQ(PendingFiles::Sweep(), 1);
    EXPECT_FALSE(QFileInfo::exists(left));
  }
}

// A target without write permission is not replaced, whoever runs the game (root too), and
// however it is reached; one made read-only while the new file was written neither.
TEST_F(ReplacingFileTest, ReadOnlyTargetsAreNotReplaced) {
  const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
  struct Case {
    const char* what;
    QFile::Permissions bits;
    bool viaLink;
    bool duringWrite;
  } const cases[] = {{"0444", readOnly, false, false},
                     {"0400", QFile::ReadOwner, false, false},
                     {"0444 behind a link", readOnly, true, false},
                     {"made 0444 while written", readOnly, false, true},
                     {"0644 is replaced", readOnly | QFile::WriteOwner, false, false}};
  const QString real = folder + "/real.saw";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(target);
    QFile::remove(real);
    ASSERT_TRUE(TestEnvironment::WriteFile(c.viaLink ? real : target, "old"));
    if (c.viaLink) {
      ASSERT_TRUE(QFile::link(real, target));
    }
    const QString file = c.viaLink ? real : target;
    ReplacingFile writer(target);
    if (!c.duringWrite) QFile::setPermissions(file, c.bits);
    const bool opened = writer.Open() && writer.Write("new");
    if (c.duringWrite) QFile::setPermissions(file, c.bits);
    const bool replaced = opened && writer.Commit();
    const bool writable = c.bits & QFile::WriteOwner;
    EXPECT_EQ(opened, writable || c.duringWrite);  // refused before a byte is written
    EXPECT_EQ(replaced, writable);
    EXPECT_EQ(writer.ErrorString(), writable ? QString() : QStringLiteral("The file is read-only"));
    EXPECT_EQ(TestEnvironment::ReadFile(file), writable ? "new" : "old");
    EXPECT_EQ(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), c.bits);
    EXPECT_EQ(QFileInfo(target).isSymLink(), c.viaLink);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
  }
}

// A name is recorded before its file is made; the next start removes a file made under it
// only while it is still empty (a run that ended before recording the file itself), and
// never anything else found under that name.
TEST_F(ReplacingFileTest, NamesRecordedBeforeTheirFilesAreSweptOnlyWhenEmpty) {
  const QString name = folder + "/.game-abc.saw";
  struct Case {
    const char* what;
    std::function<bool()> arrange;
    bool removed;
  } const cases[] = {
      {"made, not yet recorded", [&] { return TestEnvironment::WriteFile(name, {}); }, true},
      {"never made", [] { return true; }, false},
      {"the player's since", [&] { return TestEnvironment::WriteFile(name, "the player's"); }, false},
      {"a folder", [&] { return QDir().mkpath(name); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(name).removeRecursively();
    QFile::remove(name);
    ASSERT_TRUE(PendingFiles::Expect(name));
    ASSERT_TRUE(c.arrange());
    const bool there = QFileInfo::exists(name);
    EXPECT_EQ(PendingFiles::Sweep(), c.removed ? 1 : 0);
    EXPECT_EQ(QFileInfo::exists(name), there && !c.removed);
    EXPECT_FALSE(QFileInfo::exists(PendingFiles::ListPath()));
  }
  QDir(name).removeRecursively();
}
