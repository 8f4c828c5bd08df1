// The rules under opening and saving: the recent list, the program's arguments and the
// saved game's name.

#include "CommandLine.h"
#include "RecentPuzzles.h"
#include "SaveTarget.h"

#include "settings/ProgSettings.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

namespace {
// Holds every path at most once, and what happened last is first.
void ExpectWellFormed(const QStringList& recent) {
  EXPECT_EQ(QSet<QString>(recent.begin(), recent.end()).size(), recent.size());
}
}  // namespace

TEST(RecentPuzzles, EachPathOnceMostRecentFirstOverRandomHistories) {
  std::mt19937 random(18);
  const QStringList names = {"/a.jpg", "/b.jig", "/c.saw", "/d.saw", "/e.bmp", "/f.saw"};
  for (int history = 0; history < 200; ++history) {
    QStringList recent;
    for (int step = 0; step < 30; ++step) {
      const QString source = names[random() % names.size()];
      const QString saved = names[2 + random() % 4];
      const bool complete = random() % 4 == 0;
      if (random() % 2) {
        MoveToTop(recent, source);
        ASSERT_EQ(recent.first(), source);
      } else {
        RecordSave(recent, source, saved, complete);
        if (complete) {
          EXPECT_FALSE(recent.contains(source));
          EXPECT_FALSE(recent.contains(saved));
        } else {
          ASSERT_EQ(recent.first(), saved);
          if (source != saved) {
            EXPECT_FALSE(recent.contains(source));
          }
        }
      }
      ExpectWellFormed(recent);
    }
  }
}

TEST(SaveTarget, ChosenNamesAlwaysEndInSaw) {
  EXPECT_EQ(WithSawExtension("/p/x.jpg"), "/p/x.jpg.saw");
  EXPECT_EQ(WithSawExtension("/p/x"), "/p/x.saw");
  EXPECT_EQ(WithSawExtension("/p/x.SAW"), "/p/x.SAW");
  EXPECT_EQ(WithSawExtension("/p/x.saw.bmp"), "/p/x.saw.bmp.saw");
}

TEST(CommandLine, FilesAndFolderOptions) {
  QTemporaryDir dir;
  const QString existing = dir.filePath("here.jig");
  QFile(existing).open(QIODevice::WriteOnly);
  const QString made = dir.filePath("made/deeper");
  ProgSettings settings;
  settings.InitialDir.clear();
  settings.DefaultSaveFolder.clear();
  // A rooted existing file is a path; a relative one always is; the last file wins.
  EXPECT_EQ(ParseCommandLine({existing}, settings), existing);
  EXPECT_EQ(ParseCommandLine({existing, "rel/b c.jig"}, settings),
            QDir::current().absoluteFilePath("rel/b c.jig"));
  // Options take their value from the fourth character, in either case.
  EXPECT_EQ(ParseCommandLine({"/I:" + dir.path(), "/s:/no/such", "/i", "/x:1"}, settings), "");
  EXPECT_EQ(settings.InitialDir, dir.path());
  EXPECT_TRUE(settings.DefaultSaveFolder.isEmpty());
  ParseCommandLine({"/f=" + made}, settings);
  EXPECT_EQ(settings.DefaultSaveFolder, made);
  EXPECT_TRUE(QFileInfo(made).isDir());
}
