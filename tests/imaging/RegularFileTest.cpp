// Reading a file the player names, whole: only within the limit, and only the bytes it held
// when it was measured. (Which files are opened at all: ImageFileHeaderTest.)

#include "TestEnvironment.h"
#include "imaging/RegularFile.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(RegularFileTest, ReadsAWholeFileWithinItsLimitOnly) {
  const QString folder = TestEnvironment::ScratchFolder();
  ASSERT_TRUE(TestEnvironment::WriteFile(folder + "/tune.wav", "RIFF tune"));
  // Its size is told as 0, and then it gives lines: it is not the file that was measured.
  ASSERT_TRUE(QFile::link("/proc/self/status", folder + "/status.wav"));
  const struct {
    const char* name;
    qint64 limit;
    RegularFile::Status status;
  } rows[] = {{"/tune.wav", 9, RegularFile::Opened},
              {"/tune.wav", 8, RegularFile::TooLarge},
              {"/status.wav", 1 << 20, RegularFile::NotRead}};
  for (const auto& row : rows) {
    QByteArray bytes("left over");
    EXPECT_EQ(RegularFile::ReadAll(folder + row.name, row.limit, bytes), row.status) << row.name;
    EXPECT_EQ(bytes, row.status == RegularFile::Opened ? QByteArray("RIFF tune") : QByteArray()) << row.name;
  }
}
