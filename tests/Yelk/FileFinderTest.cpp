#include "TestEnvironment.h"
#include "Yelk/FileFinder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
QStringList Drain(FileFinder& finder) {
  QStringList names;
  for (QString name = finder.GetNextFileName(); !name.isEmpty(); name = finder.GetNextFileName())
    names.append(name);
  names.sort();
  return names;
}
}  // namespace

TEST(FileFinderTest, MatchesNamesWithoutRegardToCaseAndReportsEachFileOnce) {
  const QString folder = TestEnvironment::ScratchFolder() + "/finder";
  QDir().mkpath(folder + "/sub.jpg");
  for (const QString name : {"A.JPG", "b.jpg", "c.Jpg", "d.jpeg", "e.jpg.txt", "Movie.QVP"})
    QFile(folder + "/" + name).open(QIODevice::WriteOnly);

  FileFinder one(folder + "/*.jpg");
  EXPECT_EQ(Drain(one), QStringList({"A.JPG", "b.jpg", "c.Jpg"}));
  EXPECT_EQ(one.GetNextFileName(), "");

  FileFinder several(QStringList{folder + "/*.jpg", folder + "/*.JPG", folder + "/?.jpeg"});
  EXPECT_EQ(Drain(several), QStringList({"A.JPG", "b.jpg", "c.Jpg", "d.jpeg"}));

  EXPECT_TRUE(FileFinder::Any(folder + "/*.qvp"));
  EXPECT_FALSE(FileFinder::Any(folder + "/*.saw"));
  EXPECT_FALSE(FileFinder::Any(folder + "/missing/*.qvp"));
}
