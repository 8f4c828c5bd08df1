// The storm tells a game that crashed, failed or printed a sanitizer's report from one that
// ended well, and leaves nothing of it running once it is ended.

#include "GameProcess.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace {
QString Folder() { return TestEnvironment::ScratchFolder(); }

void AwaitEnd(GameProcess& game) {
  while (game.Running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}
}  // namespace

TEST(GameProcessTest, TellsHowTheGameEndedAndFindsTheSanitizersReport) {
  const struct {
    const char* script;
    const char* ending;
    const char* report;
  } cases[] = {
      {"echo started; exit 0", "", ""},
      {"exit 3", "exit status 3", ""},
      {"kill -ABRT $$", "signal 6", ""},
      {"echo '==7==ERROR: AddressSanitizer: heap-use-after-free on address' >&2; exit 1", "exit status 1",
       "==7==ERROR: AddressSanitizer: heap-use-after-free on address"},
      {"echo 'a.cpp:3:9: runtime error: downcast of address'; exit 1", "exit status 1", "a.cpp:3:9: runtime error: downcast of address"},
      {"echo '==7==ERROR: LeakSanitizer: detected memory leaks'; exit 23", "exit status 23",
       "==7==ERROR: LeakSanitizer: detected memory leaks"},
  };
  for (const auto& c : cases) {
    GameProcess game;
    const QString output = Folder() + QStringLiteral("/output.log");
    QFile::remove(output);
    ASSERT_TRUE(game.Start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QLatin1String(c.script)}, {}, Folder(), output));
    AwaitEnd(game);
    EXPECT_EQ(game.Ending(), QLatin1String(c.ending)) << c.script;
    EXPECT_EQ(game.SanitizerReport(), QLatin1String(c.report)) << c.script;
    if (*c.report) {
      EXPECT_TRUE(game.Output(5).startsWith(QLatin1String(c.report))) << c.script;
    }
  }
}

TEST(GameProcessTest, EndingTheGameEndsWhatItStartedAndItsEnvironmentIsGiven) {
  GameProcess game;
  const QString pidFile = Folder() + QStringLiteral("/child.pid");
  const QString output = Folder() + QStringLiteral("/child.log");
  QFile::remove(pidFile);
  ASSERT_TRUE(game.Start(QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("echo \"$STORM_SAYS\"; sleep 300 & echo $! > \"$PID_FILE\"; wait")},
                         {QStringLiteral("PID_FILE=") + pidFile, QStringLiteral("STORM_SAYS=given")}, Folder(), output));
  while (QFile(pidFile).size() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  QFile file(pidFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const pid_t child = file.readAll().trimmed().toInt();
  ASSERT_GT(child, 0);
  game.Kill(1000);
  EXPECT_FALSE(game.Running());
  // The child was in the game's group: it is gone too (a zombie of no one's is reaped by init).
  bool gone = false;
  for (int i = 0; i < 2000 && !gone; ++i) {
    gone = kill(child, 0) != 0;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(gone);
  EXPECT_TRUE(game.Output(5).contains(QLatin1String("given")));
}
