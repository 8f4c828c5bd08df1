#include "TestEnvironment.h"
#include "Yelk/FileUtils.h"
#include "Yelk/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
void Touch(const QString& path, const QByteArray& content = {}) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}
}  // namespace

TEST(PathUtilsTest, SplitsLinuxPaths) {
  EXPECT_EQ(GetFileExtFromPath("/home/p/pics/Sunset.JPG"), "JPG");
  EXPECT_EQ(GetFileNameFromPath("/home/p/pics/Sunset.JPG", true), "Sunset.JPG");
  EXPECT_EQ(GetFileNameFromPath("/home/p/pics/Sunset.JPG", false), "Sunset");
  EXPECT_EQ(GetDirFromPath("/home/p/pics/Sunset.JPG", true), "/home/p/pics/");
  EXPECT_EQ(GetDirFromPath("/home/p/pics/Sunset.JPG", false), "/home/p/pics");
  // Only the last dot counts.
  EXPECT_EQ(GetFileExtFromPath("old.backup.saw"), "saw");
  EXPECT_EQ(GetFileNameFromPath("old.backup.saw", false), "old.backup");
}

TEST(PathUtilsTest, DotInAFolderNameIsNoExtension) {
  EXPECT_EQ(GetFileExtFromPath("/home/p/my.pics/photo"), "");
  EXPECT_EQ(GetFileNameFromPath("/home/p/my.pics/photo", false), "photo");
  EXPECT_EQ(GetFileExtFromPath("C:\\My.Pics\\photo"), "");
}

TEST(PathUtilsTest, SplitsWindowsMadePaths) {
  const QString path = "C:\\Program Files\\Puzzles\\Lighthouse.jig";
  EXPECT_EQ(GetFileExtFromPath(path), "jig");
  EXPECT_EQ(GetFileNameFromPath(path, true), "Lighthouse.jig");
  EXPECT_EQ(GetFileNameFromPath(path, false), "Lighthouse");
  EXPECT_EQ(GetDirFromPath(path, true), "C:\\Program Files\\Puzzles/");
  EXPECT_EQ(GetFileNameFromPath("D:/mixed\\dir/a.saw", true), "a.saw");
}

TEST(PathUtilsTest, PathsWithoutFolderOrExtension) {
  EXPECT_EQ(GetFileExtFromPath("README"), "");
  EXPECT_EQ(GetFileNameFromPath("README", false), "README");
  EXPECT_EQ(GetDirFromPath("README", true), "");
  EXPECT_EQ(GetDirFromPath("/a.jpg", true), "/");
  EXPECT_EQ(GetDirFromPath("/a.jpg", false), "/");
  EXPECT_EQ(GetFileNameFromPath("/home/p/", true), "");
  EXPECT_EQ(GetFileExtFromPath(""), "");
}

TEST(PathUtilsTest, ProgramFolderAndLongPath) {
  EXPECT_EQ(GetExePath(true), QCoreApplication::applicationDirPath() + "/");
  EXPECT_EQ(GetExePath(false), QCoreApplication::applicationDirPath());
  EXPECT_EQ(ConvertToLongPath("a/../b.jpg"), QDir::current().absoluteFilePath("b.jpg"));
  EXPECT_TRUE(GetSpecialFolder(5).isEmpty());
}

TEST(PathUtilsTest, FullPathSearchesWorkingThenProgramFolderOnly) {
  const QString work = TestEnvironment::ScratchFolder() + "/fullpath";
  ASSERT_TRUE(QDir().mkpath(work));
  Touch(work + "/here.jig");
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work));
  EXPECT_EQ(GetFullPath("here.jig", ""), work + "/here.jig");
  EXPECT_EQ(GetFullPath("here", "jig"), work + "/here.jig");
  EXPECT_EQ(GetFullPath("here", ".jig"), work + "/here.jig");
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(GetFullPath(program, ""), QCoreApplication::applicationFilePath());
  // The program search path is never used, and folders are no files.
  EXPECT_EQ(GetFullPath("sh", ""), "");
  EXPECT_EQ(GetFullPath(".", ""), "");
  EXPECT_EQ(GetFullPath("missing.jig", ""), "");
  QDir::setCurrent(previous);
}

TEST(FileUtilsTest, ExistenceAndSize) {
  const QString folder = TestEnvironment::ScratchFolder() + "/fileutils";
  ASSERT_TRUE(QDir().mkpath(folder));
  Touch(folder + "/five.bin", "12345");
  EXPECT_TRUE(FileDoesExist(folder + "/five.bin"));
  EXPECT_FALSE(FileDoesExist(folder));
  EXPECT_FALSE(FileDoesExist(""));
  EXPECT_TRUE(DirDoesExist(folder));
  EXPECT_TRUE(DirDoesExist("/"));
  EXPECT_FALSE(DirDoesExist(folder + "/five.bin"));
  EXPECT_EQ(GetFileSize(folder + "/five.bin"), 5);
  EXPECT_LT(GetFileSize(folder + "/none.bin"), 0);
  EXPECT_LT(GetFileSize(folder), 0);
}

TEST(FileUtilsTest, DiskFreeSpaceIsKilobytesOrZero) {
  const qint64 kb = DiskFreeSpace(TestEnvironment::ScratchFolder());
  EXPECT_GT(kb, 0);
  EXPECT_EQ(DiskFreeSpace(""), 0);
  EXPECT_EQ(DiskFreeSpace("/no/such/volume/anywhere"), 0);
}
