// A save that fails or is killed part way: the player's previous file stays whole, the
// failure says why, and what a killed save left behind goes at the next start.

#include "JigsawFileBuilder.h"
#include "PuzzleFixtures.h"

#include "Yelk/PendingFiles.h"
#include "Yelk/Prompt.h"
#include "Yelk/ReplacingFile.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PuzzleFileStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

using namespace JigsawFixtures;
using PuzzleFixtures::ScratchPath;
using Step = ReplacingFile::Step;

namespace {

constexpr char KillAtVar[] = "TV_SAVE_KILL_AT";
constexpr char TargetVar[] = "TV_SAVE_KILL_TARGET";
constexpr char PictureVar[] = "TV_SAVE_KILL_PICTURE";
constexpr char ListVar[] = "TV_SAVE_KILL_LIST";

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The folder's files, hidden ones too.
QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

QString Folder(const QString& name) {
  const QString folder = ScratchPath(name);
  QDir(folder).removeRecursively();
  QDir().mkpath(folder);
  return folder;
}

StillPuzzleContent Content(const QString& picture) {
  StillPuzzleContent content;
  content.ReadPicture(picture);
  content.note = "a note";
  return content;
}

}  // namespace

// A save whose write, sync, close or rename fails reports the system's reason and leaves the
// old file byte for byte; one whose folder will not sync afterwards is saved, and logged.
TEST(SaveSafetyTest, FailedStepSaysWhyAndKeepsTheOldFile) {
  Prompt::Double prompts;
  const QString folder = Folder(QStringLiteral("failing steps"));
  PendingFiles::SetListPath(folder + QStringLiteral("/pending.list"));
  const QString path = folder + QStringLiteral("/game.jig");
  const StillPuzzleContent content = Content(PuzzleFixtures::WritePicture(QStringLiteral("steps.bmp"), 120, 90));
  const QByteArray old = Game().bytes;
  for (const auto& [step, error] : {std::pair{Step::Write, ENOSPC}, {Step::Sync, EIO}, {Step::Close, EIO},
                                     {Step::Rename, EACCES}, {Step::Create, EROFS}}) {
    SCOPED_TRACE(int(step));
    WriteAll(path, old);
    ReplacingFile::SetFaultHook([step = step, error = error](Step at) { return at == step ? error : 0; });
    EXPECT_FALSE(JigsawFile::SaveStillPuzzle(path, content));
    ReplacingFile::SetFaultHook({});
    ASSERT_EQ(prompts.Shown().size(), 1);
    EXPECT_EQ(prompts.Shown().first().text, QStringLiteral("Failed to save puzzle.\n\nJigsawFile::SaveFile - can not write ") +
                                                path + QStringLiteral(": ") + Reason(error));
    prompts.Clear();
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("game.jig")});
  }
  TMsgLog::Clear();
  ReplacingFile::SetFaultHook([](Step at) { return at == Step::FolderSync ? EIO : 0; });
  EXPECT_TRUE(JigsawFile::SaveStillPuzzle(path, content));
  ReplacingFile::SetFaultHook({});
  EXPECT_TRUE(prompts.Shown().isEmpty());
  EXPECT_EQ(JigsawFile(path).Status(), pfsReady);
  EXPECT_TRUE(TMsgLog::GetLogAsString().contains(Reason(EIO)));
  PendingFiles::SetListPath({});
}

// Run as the child of the test below: saves, and is killed at the step the parent chose.
TEST(SaveSafetyTest, KilledSaveLeavesTheOldFileAndTheNextStartTidies) {
  if (qEnvironmentVariableIsSet(KillAtVar)) {
    PendingFiles::SetListPath(qEnvironmentVariable(ListVar));
    const int killAt = qEnvironmentVariableIntValue(KillAtVar);
    ReplacingFile::SetFaultHook([killAt, reached = 0](Step) mutable {
      if (++reached == killAt) ::kill(::getpid(), SIGKILL);
      return 0;
    });
    JigsawFile::SaveStillPuzzle(qEnvironmentVariable(TargetVar), Content(qEnvironmentVariable(PictureVar)));
    std::_Exit(0);
  }
  const QString folder = Folder(QStringLiteral("killed saves"));
  const QString list = folder + QStringLiteral("/pending.list");
  PendingFiles::SetListPath(list);
  const QString path = folder + QStringLiteral("/game.jig");
  // Big enough for several writes.
  const QString picture = PuzzleFixtures::WritePicture(QStringLiteral("killed.bmp"), 300, 260);
  const QString fresh = ScratchPath(QStringLiteral("killed fresh.jig"));
  int steps = 0, writes = 0;
  ReplacingFile::SetFaultHook([&](Step at) {
    ++steps;
    if (at == Step::Write) ++writes;
    return 0;
  });
  ASSERT_TRUE(JigsawFile::SaveStillPuzzle(fresh, Content(picture)));
  ReplacingFile::SetFaultHook({});
  ASSERT_GE(writes, 3);
  ASSERT_EQ(steps, writes + 6);  // create, record, the writes, sync, close, rename, folder sync
  const QByteArray saved = ReadAll(fresh);
  const QByteArray old = Game().bytes;

  for (int killAt = 1; killAt <= steps; ++killAt) {
    SCOPED_TRACE(killAt);
    WriteAll(path, old);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(KillAtVar, QString::number(killAt));
    env.insert(TargetVar, path);
    env.insert(PictureVar, picture);
    env.insert(ListVar, list);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SaveSafetyTest.KilledSaveLeavesTheOldFileAndTheNextStartTidies")});
    ASSERT_TRUE(child.waitForFinished(120000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAll().toStdString();

    const bool renamed = killAt == steps;  // killed only at the folder's sync
    EXPECT_EQ(ReadAll(path), renamed ? saved : old);
    EXPECT_EQ(JigsawFile(path).Status(), pfsReady);
    const bool leftover = killAt > 1 && !renamed;
    EXPECT_EQ(FilesIn(folder).size(), leftover ? 3 : 1) << qPrintable(FilesIn(folder).join(' '));
    EXPECT_EQ(PendingFiles::Sweep(), leftover ? 1 : 0);
    EXPECT_EQ(FilesIn(folder), QStringList{QStringLiteral("game.jig")});
  }
  PendingFiles::SetListPath({});
}
