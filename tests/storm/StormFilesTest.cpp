// The storm's saved game holds joined groups and the note, and its save check notices a game
// that would not reload with every piece: a piece left out, a group left out, a file cut short.

#include "StormFiles.h"

#include "PuzzleFixtures.h"
#include "TestEnvironment.h"

#include "puzzle/ChipRecord.h"
#include "puzzle/JigsawFile.h"

#include <gtest/gtest.h>

namespace {
QString StillPuzzleWithNote() {
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("storm.bmp"), 400, 300));
  content.note = "{\\rtf1 A note.}";
  const QString path = PuzzleFixtures::ScratchPath(QStringLiteral("storm.jig"));
  return JigsawFile::SaveStillPuzzle(path, content) ? path : QString();
}

// The file with the nth record of that type turned into one this program does not know: the
// reader passes over it, every block stays where it was.
QByteArray Without(QByteArray bytes, int type, int nth) {
  qsizetype at = JigsawFile::SignatureSize;
  if (std::uint8_t(bytes[at]) == 0xFF) at += 3;
  while (at + 2 <= bytes.size() && bytes[at] != 0 && std::uint8_t(bytes[at]) != 0xFF) {
    if (bytes[at] == type && nth-- == 0) {
      bytes[at] = char(200);
      break;
    }
    at += 2 + std::uint8_t(bytes[at + 1]);
  }
  return bytes;
}
}  // namespace

TEST(StormFilesTest, TheSavedGameHasGroupsAndTheNoteAndIsWhole) {
  const QString still = StillPuzzleWithNote();
  ASSERT_FALSE(still.isEmpty());
  const QString saved = PuzzleFixtures::ScratchPath(QStringLiteral("storm game.saw"));
  ASSERT_TRUE(StormFiles::WriteSavedGame(still, saved, 40));
  const JigsawFile file(saved);
  ASSERT_TRUE(file.IsSavedGame());
  EXPECT_TRUE(file.GetNoteStream());
  EXPECT_EQ(file.GroupRecords().size(), 4u);
  int grouped = 0;
  for (const ChipRecord& piece : file.PieceRecords()) grouped += piece.groupId != 0;
  EXPECT_EQ(grouped, 2 + 3 + 4 + 2);
  EXPECT_EQ(StormFiles::Incomplete(saved), QString());
}

TEST(StormFilesTest, TheCheckNoticesAGameThatWouldNotReloadWhole) {
  const QString saved = PuzzleFixtures::ScratchPath(QStringLiteral("storm whole.saw"));
  ASSERT_TRUE(StormFiles::WriteSavedGame(StillPuzzleWithNote(), saved, 40));
  const QByteArray whole = TestEnvironment::ReadFile(saved);
  const JigsawFile file(saved);
  int firstGrouped = 0;
  while (file.PieceRecords()[firstGrouped].groupId == 0) ++firstGrouped;
  const struct {
    const char* name;
    QByteArray bytes;
    const char* told;
  } cases[] = {
      {"a piece left out", Without(whole, ChipRecord::Type, 0), "is missing"},
      {"the last piece left out", Without(whole, ChipRecord::Type, file.PieceCount() - 1), "is missing"},
      {"a group left out", Without(whole, ChipGroupRecord::Type, 0), "not saved"},
      {"cut short", whole.left(whole.size() / 2), "unreadable"},
  };
  for (const auto& c : cases) {
    const QString path = PuzzleFixtures::ScratchPath(QStringLiteral("damaged.saw"));
    ASSERT_TRUE(TestEnvironment::WriteFile(path, c.bytes));
    EXPECT_TRUE(StormFiles::Incomplete(path).contains(QLatin1String(c.told))) << c.name << ": " << qPrintable(StormFiles::Incomplete(path));
  }
}
