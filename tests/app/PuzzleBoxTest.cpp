// The Puzzle Box the build puts beside the program: each file opens as the kind of puzzle its
// name promises, and the still puzzle carries everything a still puzzle can.

#include "puzzle/AnimatedFileReader.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {
const QDir Box(QStringLiteral(TV_PUZZLE_BOX));
}

TEST(PuzzleBox, HoldsAPictureAStillAndAnAnimatedPuzzle) {
  const QStringList files = Box.entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(files.size(), 3) << files.join(QLatin1Char(',')).toStdString();
  QStringList kinds;
  for (const QString& name : files) {
    Puzzle puzzle(Box.filePath(name));
    ASSERT_TRUE(puzzle.IsValid()) << name.toStdString();
    const QSize size = puzzle.GetImageSize();
    EXPECT_GE(size.width(), 640) << name.toStdString();
    EXPECT_GE(size.height(), 480) << name.toStdString();
    if (const JigsawFileReader* still = puzzle.GetJigsawFile()) {
      kinds << QStringLiteral("still");
      EXPECT_FALSE(still->IsSavedGame());
      EXPECT_TRUE(still->HasSoundTrack());
      EXPECT_TRUE(still->BoxCoverAvailable());
      ASSERT_TRUE(puzzle.GetNoteStream());
      EXPECT_TRUE(puzzle.GetNoteStream()->startsWith("{\\rtf1"));
      EXPECT_TRUE(puzzle.HasBoxCover());
    } else if (const AnimatedFileReader* animated = puzzle.GetAnimatedFile()) {
      kinds << QStringLiteral("animated");
      EXPECT_TRUE(animated->GetNoteStream());
    } else {
      kinds << QStringLiteral("picture");
    }
  }
  kinds.sort();
  EXPECT_EQ(kinds, QStringList({QStringLiteral("animated"), QStringLiteral("picture"), QStringLiteral("still")}));
}
