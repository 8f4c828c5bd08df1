#include "StormFiles.h"

#include "tests/table/SurfaceFixtures.h"

#include "Yelk/TMsgLog.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PuzzleFileStatus.h"

#include <set>
#include <vector>

namespace {
constexpr int TableWidth = 1000, TableHeight = 700;

// Lays `count` neighbours, from `first` rightwards, side by side at (x, y) and joins them as
// the player would; false when the row leaves the table or a piece is missing from it.
bool JoinRow(ChipList& table, PuzzleChip* first, int count, int x, int y) {
  std::vector<PuzzleChip*> row{first};
  while (int(row.size()) < count) {
    PuzzleChip* next = row.back()->Neighbour(ChipSide::Right);
    if (!next || !table.Contains(next) || next->Group()) return false;
    row.push_back(next);
  }
  QRect box;
  for (std::size_t i = 0; i < row.size(); ++i) {
    const ChipMask& mask = row[i]->Mask();
    if (i > 0) {
      const ChipMask& left = row[i - 1]->Mask();
      x = row[i - 1]->TableX() + mask.MinX() - left.MinX();
      y = row[i - 1]->TableY() + mask.FirstRow() - left.FirstRow();
    }
    row[i]->Place(0, false, true, true, x, y);
    if (i > 0 && !row[i - 1]->Snap(row[i], nullptr, true)) return false;
    box |= QRect(row[i]->TableX(), row[i]->TableY(), mask.TableWidth(), mask.TableHeight());
  }
  // As a release does: the group's box is the box of its pieces.
  first->Group()->SetBounds(TableWidth, TableHeight, true, box.left(), box.top(), box.right(), box.bottom());
  return true;
}

bool JoinGroups(ChipList& table) {
  int made = 0;
  const int sizes[] = {2, 3, 4, 2};
  for (int i = 0; i < table.Count() && made < 4; ++i) {
    PuzzleChip* piece = table.At(i);
    if (!piece->Group() && JoinRow(table, piece, sizes[made], 40 + made * 230, 60)) ++made;
  }
  return made > 0;
}
}  // namespace

bool StormFiles::WriteSavedGame(const QString& stillPuzzle, const QString& savedGame, int pieceSize) {
  HeadlessTable table(TableWidth, TableHeight);
  table.host.area = QSize(TableWidth, TableHeight);
  Puzzle puzzle(stillPuzzle);
  puzzle.SetPieceSize(pieceSize);
  const bool written = table.surface.LoadPuzzle(&puzzle) && JoinGroups(table.surface.GetChipList()) &&
                       JigsawFile::SaveFile(savedGame, puzzle, SavedWindowState{QRect(40, 40, TableWidth, TableHeight), false, {}});
  table.surface.UnloadPuzzle();
  ChipGroup::DeleteAll();
  return written;
}

QString StormFiles::Incomplete(const QString& savedGame) {
  const JigsawFile file(savedGame);
  if (file.Status() != pfsReady)
    return QStringLiteral("unreadable (status %1): %2").arg(file.Status()).arg(TMsgLog::Lines().value(TMsgLog::Lines().size() - 1));
  if (!file.IsSavedGame()) return QStringLiteral("not a saved game");
  const int count = file.PieceCount();
  if (count <= 0) return QStringLiteral("no pieces");
  std::set<int> groups;
  for (const ChipGroupRecord& group : file.GroupRecords()) groups.insert(group.id);
  std::vector<bool> seen(count);
  for (const ChipRecord& piece : file.PieceRecords()) {
    if (piece.pieceId >= count) return QStringLiteral("piece %1 of %2").arg(piece.pieceId).arg(count);
    if (piece.groupId && !groups.count(piece.groupId))
      return QStringLiteral("piece %1 in group %2, which is not saved").arg(piece.pieceId).arg(piece.groupId);
    seen[piece.pieceId] = true;
  }
  for (int id = 0; id < count; ++id)
    if (!seen[id]) return QStringLiteral("piece %1 of %2 is missing").arg(id).arg(count);
  return {};
}
