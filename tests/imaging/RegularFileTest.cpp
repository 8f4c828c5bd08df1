// Reading a file the player names, whole: only a regular file, only within the limit, and
// only the bytes it held when it was measured.

#include "TestEnvironment.h"
#include "imaging/RegularFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(RegularFileTest, ReadsAWholeRegularFileWithinItsLimitOnly) {
  const QString folder = TestEnvironment::ScratchFolder() + "/regular/";
  ASSERT_TRUE(QDir().mkpath(folder + "folder.wav"));
  ASSERT_TRUE(TestEnvironment::WriteFile(folder + "tune.wav", "RIFF tune"));
  ASSERT_EQ(mkfifo(QFile::encodeName(folder + "pipe.wav").constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", folder + "zero.wav"));
  // The system tells a size of 0 for it, and then gives lines: it is no longer what it was.
  ASSERT_TRUE(QFile::link("/proc/self/status", folder + "status.wav"));
  const struct {
    const char* name;
    qint64 limit;
    RegularFile::Status status;
  } rows[] = {
      {"tune.wav", 9, RegularFile::Opened},      {"tune.wav", 8, RegularFile::TooLarge},
      {"pipe.wav", 9, RegularFile::NotRegular},  {"zero.wav", 9, RegularFile::NotRegular},
      {"folder.wav", 9, RegularFile::NotRegular}, {"gone.wav", 9, RegularFile::NotOpened},
      {"status.wav", 1 << 20, RegularFile::NotRead},
  };
  alarm(20);  // a read that blocks ends the test
  for (const auto& row : rows) {
    QByteArray bytes("left over");
    EXPECT_EQ(RegularFile::ReadAll(folder + row.name, row.limit, bytes), row.status) << row.name;
    EXPECT_EQ(bytes, row.status == RegularFile::Opened ? QByteArray("RIFF tune") : QByteArray()) << row.name;
  }
  alarm(0);
}
