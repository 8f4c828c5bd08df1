#include "TestEnvironment.h"
#include "Yelk/FileFinder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
QString MakeFolder(const QString& name, const QStringList& files) {
  const QString folder = TestEnvironment::ScratchFolder() + "/" + name;
  QDir().mkpath(folder);
  for (const QString& file : files) {
    QFile f(folder + "/" + file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  }
  return folder;
}

QStringList Drain(FileFinder& finder) {
  QStringList names;
  for (QString name = finder.GetNextFileName(); !name.isEmpty(); name = finder.GetNextFileName())
    names.append(name);
  names.sort();
  return names;
}
}  // namespace

TEST(FileFinderTest, MatchesNamesWithoutRegardToCase) {
  const QString folder =
      MakeFolder("finder-case", {"A.JPG", "b.jpg", "c.Jpg", "d.jpeg", "e.jpg.txt", "Jig1.tmp"});
  QDir(folder).mkdir("sub.jpg");
  FileFinder finder(folder + "/*.jpg");
  EXPECT_EQ(Drain(finder), QStringList({"A.JPG", "b.jpg", "c.Jpg"}));
  EXPECT_EQ(finder.GetNextFileName(), "");
  FileFinder jig(folder + "/jig*.TMP");
  EXPECT_EQ(Drain(jig), QStringList({"Jig1.tmp"}));
}

TEST(FileFinderTest, SeveralPatternsReportEachFileOnce) {
  const QString folder = MakeFolder("finder-list", {"a.jig", "b.jpg", "c.bmp", "d.saw"});
  FileFinder finder(QStringList{folder + "/*.jig", folder + "/*.jpg", folder + "/*.JPG",
                                folder + "/*.jpeg", folder + "/?.bmp"});
  EXPECT_EQ(Drain(finder), QStringList({"a.jig", "b.jpg", "c.bmp"}));
}

TEST(FileFinderTest, AnyAnswersWhetherSomethingMatches) {
  const QString folder = MakeFolder("finder-any", {"Movie.QVP"});
  EXPECT_TRUE(FileFinder::Any(folder + "/*.qvp"));
  EXPECT_FALSE(FileFinder::Any(folder + "/*.saw"));
  EXPECT_FALSE(FileFinder::Any(folder + "/missing/*.qvp"));
}
