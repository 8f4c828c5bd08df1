// Programs start without a shell: awkward file names reach the program unchanged, and the
// first command line whose program is on PATH is the one chosen.

#include "platform/ProgramStarter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {
bool WaitForFile(const QString& path) {
  for (int i = 0; i < 500 && !QFileInfo::exists(path); ++i) QThread::msleep(10);
  return QFileInfo::exists(path);
}

class PathScope {
public:
  explicit PathScope(const QByteArray& path) : saved(qgetenv("PATH")) { qputenv("PATH", path); }
  ~PathScope() { qputenv("PATH", saved); }

private:
  QByteArray saved;
};
}  // namespace

TEST(ProgramStarter, ArgumentsReachTheProgramUnchanged) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList names = {"plain", "with space", "semi;colon", "quote'single", "quote\"double",
                             "$HOME", "`true`", "star*", "a&b", "back\\slash"};
  QStringList paths;
  for (const QString& name : names) paths << dir.filePath(name);
  ASSERT_TRUE(ProgramStarter::Start(QStringLiteral("touch"), paths));
  for (const QString& path : paths) EXPECT_TRUE(WaitForFile(path)) << path.toStdString();
  // A shell would have expanded or split some of them into other names.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), names.size());
}

TEST(ProgramStarter, FindsTheFirstProgramOnPath) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString tool = dir.filePath(QStringLiteral("second-tool"));
  QFile file(tool);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString plain = dir.filePath(QStringLiteral("not-executable"));
  QFile(plain).open(QIODevice::WriteOnly);

  PathScope path(dir.path().toLocal8Bit());
  EXPECT_EQ(ProgramStarter::Find(QStringLiteral("second-tool")), tool);
  EXPECT_TRUE(ProgramStarter::Find(QStringLiteral("not-executable")).isEmpty());
  EXPECT_TRUE(ProgramStarter::Find(QStringLiteral("absent-tool")).isEmpty());
  EXPECT_EQ(ProgramStarter::Find(tool), tool);
  EXPECT_TRUE(ProgramStarter::Find(plain).isEmpty());
  EXPECT_EQ(ProgramStarter::FirstFound({{"absent-tool", "x"}, {}, {"second-tool", "sound"},
                                        {"not-executable"}}),
            QStringList({tool, "sound"}));
  EXPECT_TRUE(ProgramStarter::FirstFound({{"absent-tool"}, {"not-executable"}}).isEmpty());
  EXPECT_FALSE(ProgramStarter::Start(QStringLiteral("absent-tool")));
}

TEST(ProgramStarter, DoubleRecordsInsteadOfStarting) {
  ProgramStarter::Double starter;
  starter.answer = false;
  EXPECT_FALSE(ProgramStarter::Start(QStringLiteral("touch"), {"/nonexistent/x"}));
  EXPECT_FALSE(ProgramStarter::OpenDocument(QStringLiteral("/tmp/log file.txt")));
  ASSERT_EQ(starter.Calls().size(), 2);
  EXPECT_EQ(starter.Calls()[0].program, "touch");
  EXPECT_EQ(starter.Calls()[1].arguments, QStringList({"/tmp/log file.txt"}));
}
