#include "TestEnvironment.h"
#include "Yelk/FileUtils.h"
#include "Yelk/PathUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(PathUtilsTest, SplitsLinuxAndWindowsMadePaths) {
  for (const QString folder : {"/home/p/my.pics", "C:\\My.Pics", "D:/mixed\\dir"}) {
    const QString path = folder + (folder.startsWith("/") ? "/" : "\\") + "old.backup.saw";
    EXPECT_EQ(GetFileExtFromPath(path), "saw") << path.toStdString();
    EXPECT_EQ(GetFileNameFromPath(path, true), "old.backup.saw");
    EXPECT_EQ(GetFileNameFromPath(path, false), "old.backup");
    EXPECT_EQ(GetDirFromPath(path, true), folder + "/");
    EXPECT_EQ(GetDirFromPath(path, false), folder);
  }
  // A dot in a folder name is no extension.
  EXPECT_EQ(GetFileExtFromPath("/home/p/my.pics/photo"), "");
  EXPECT_EQ(GetFileNameFromPath("C:\\My.Pics\\photo", false), "photo");
  EXPECT_EQ(GetDirFromPath("README", true), "");
  EXPECT_EQ(GetDirFromPath("/a.jpg", false), "/");
}

TEST(PathUtilsTest, FullPathSearchesWorkingThenProgramFolderOnly) {
  const QString work = TestEnvironment::ScratchFolder() + "/fullpath";
  ASSERT_TRUE(QDir().mkpath(work));
  QFile(work + "/here.jig").open(QIODevice::WriteOnly);
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(work));
  EXPECT_EQ(GetFullPath("here.jig", ""), work + "/here.jig");
  EXPECT_EQ(GetFullPath("here", "jig"), work + "/here.jig");
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  EXPECT_EQ(GetFullPath(program, ""), QCoreApplication::applicationFilePath());
  // The program search path is never used, and folders are no files.
  EXPECT_EQ(GetFullPath("sh", ""), "");
  EXPECT_EQ(GetFullPath(".", ""), "");
  EXPECT_EQ(GetFullPath("missing.jig", ""), "");
  QDir::setCurrent(previous);
}

TEST(FileUtilsTest, FoldersAreNoFilesAndFailuresAreNegativeOrZero) {
  const QString folder = TestEnvironment::ScratchFolder();
  EXPECT_FALSE(FileDoesExist(folder));
  EXPECT_TRUE(DirDoesExist(folder));
  EXPECT_LT(GetFileSize(folder), 0);
  EXPECT_LT(GetFileSize(folder + "/none.bin"), 0);
  EXPECT_GT(DiskFreeSpace(folder), 0);
  EXPECT_EQ(DiskFreeSpace(""), 0);
  EXPECT_EQ(DiskFreeSpace("/no/such/volume/anywhere"), 0);
}
