#include "PuzzleOnTableTest.h"
#include "TestEnvironment.h"
#include "tests/puzzle/PuzzleFixtures.h"

#include "Yelk/Prompt.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipMask.h"
#include "puzzle/ChipRecord.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleChip.h"
#include "settings/ProgSettings.h"
#include "table/BackgroundTint.h"
#include "table/ChipSelection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class TableSurfaceTest : public PuzzleOnTableTest {
protected:
  void SetUp() override {
    Settings()->SignatureShown = false;
    Settings()->IsolateEdges = true;
    Settings()->UpsideRight = false;
  }
};

TEST_F(TableSurfaceTest, NewGamesLieOnTheTableAsDrawnAndStayThereThroughResizes) {
  struct Case { int tableW, tableH, pieceSize; bool isolate; };
  for (const Case c : {Case{640, 480, 40, true}, Case{420, 300, 13, false}, Case{300, 200, 60, true},
                       Case{900, 260, 22, false}}) {
    SCOPED_TRACE(QStringLiteral("%1x%2 at %3").arg(c.tableW).arg(c.tableH).arg(c.pieceSize).toStdString());
    Settings()->IsolateEdges = c.isolate;
    HeadlessTable t(c.tableW, c.tableH);
    t.host.area = QSize(c.tableW, c.tableH);
    ASSERT_TRUE(Load(t, c.tableW, c.tableH, c.pieceSize));
    const int pieces = puzzle->GetPieceCount();
    EXPECT_EQ(t.PiecesAnywhere(), pieces);
    EXPECT_EQ(OffTable(t.surface), "");
    ChipList& onTable = t.surface.GetChipList();
    int interior = 0;
    for (int i = 0; i < onTable.Count(); ++i) interior += onTable.At(i)->EdgeClass() == 9;
    if (c.isolate) {
      EXPECT_EQ(interior, 0);
      EXPECT_EQ(t.minis[1]->Chips().Count(), pieces - onTable.Count());
    }
    EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
    // The interior pieces' mini switched in and out again: nothing lost, all drawn.
    const int edgePieces = onTable.Count();
    for (int mini : {1, 0}) {
      t.surface.SwitchToMini(mini);
      EXPECT_EQ(t.surface.ActiveMini(), t.minis[std::size_t(mini)].get());
      EXPECT_EQ(t.PiecesAnywhere(), pieces);
      EXPECT_EQ(OffTable(t.surface), "");
      EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
    }
    EXPECT_EQ(onTable.Count(), edgePieces);
    for (QSize size : {QSize(c.tableW / 2, c.tableH * 2 / 3), QSize(c.tableW + 150, c.tableH + 90)}) {
      t.surface.Resize(size.width(), size.height());
      t.surface.Refresh();
      EXPECT_EQ(t.PiecesAnywhere() + PuzzleChip::CapturedList().Count(), pieces);
      EXPECT_EQ(OffTable(t.surface), "");
      EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
    }
    puzzle.reset();
    EXPECT_EQ(t.PiecesAnywhere(), 0);
  }
}

// The player's wish for upright pieces holds only where the puzzle's maker allows it.
TEST_F(TableSurfaceTest, PiecesLieUprightOnlyWhereThePuzzleAllowsIt) {
  Settings()->IsolateEdges = false;
  Settings()->UpsideRight = true;
  StillPuzzleContent content;
  content.ReadPicture(PuzzleFixtures::WritePicture(QStringLiteral("upright.bmp"), 320, 240));
  for (bool allowed : {true, false}) {
    SCOPED_TRACE(allowed ? "allowed" : "forbidden");
    content.allowUpright = allowed;
    const QString jig = PuzzleFixtures::ScratchPath(allowed ? QStringLiteral("upright-yes.jig")
                                                            : QStringLiteral("upright-no.jig"));
    ASSERT_TRUE(JigsawFile::SaveStillPuzzle(jig, content));
    HeadlessTable t(640, 480);
    t.host.area = QSize(640, 480);
    puzzle = std::make_unique<Puzzle>(jig);
    puzzle->SetPieceSize(40);
    ASSERT_TRUE(t.surface.LoadPuzzle(puzzle.get()));
    ChipList& onTable = t.surface.GetChipList();
    int turned = 0;
    for (int i = 0; i < onTable.Count(); ++i) turned += onTable.At(i)->Mask().Rotation() != 0;
    // 48 pieces turned at random: all upright by chance is one in 4^48.
    EXPECT_EQ(onTable.Count(), 48);
    EXPECT_EQ(turned == 0, allowed);
    puzzle.reset();
  }
  Settings()->UpsideRight = false;
}

TEST_F(TableSurfaceTest, EveryDrawingPathStaysInsideTinyTablesAndTheCap) {
  EXPECT_LT(qint64(TableSurface::FitTableSize({30000, 20000}).width()) *
                TableSurface::FitTableSize({30000, 20000}).height(), TableSurface::MaxTablePixels);
  EXPECT_EQ(TableSurface::FitTableSize({4096, 4095}), QSize(4096, 4095));
  HeadlessTable t(160, 120);
  ASSERT_TRUE(Load(t, 160, 120, 40));
  // Pieces pushed against all four edges, then a table smaller than a piece.
  ChipList& list = t.surface.GetChipList();
  for (int i = 0; i < list.Count(); ++i)
    list.At(i)->Place(-1, false, true, false, i % 2 ? -30 : 150, i % 3 ? -30 : 110);
  t.surface.Refresh();
  t.surface.SetMagnifier(700, 500, nullptr);
  for (QPoint cursor : {QPoint(0, 0), QPoint(159, 119), QPoint(-50, 400)}) {
    t.host.cursor = cursor;
    t.surface.PaintMagnifier();
  }
  t.surface.Resize(20, 15);
  t.surface.Refresh();
  t.surface.PaintMagnifier();
  t.surface.ShowChipHint(list.IsEmpty() ? nullptr : list.At(0));
  EXPECT_GT(t.host.presents, 0);
  puzzle.reset();
}

TEST_F(TableSurfaceTest, CarryingRestoresTheTableExactlyAndPresentsOnlyWhatChanged) {
  Settings()->IsolateEdges = false;
  HeadlessTable t(500, 380);
  ASSERT_TRUE(Load(t, 500, 380, 45));
  t.surface.Refresh();
  ChipList& list = t.surface.GetChipList();
  PuzzleChip* piece = list.At(list.Count() / 2);
  const QPoint grab(piece->TableX() + 10, piece->TableY() + 10);
  t.surface.PickUp(piece, grab.x(), grab.y());
  ASSERT_TRUE(t.surface.Selection());
  QPoint at = grab;
  for (QPoint step : {QPoint(5, 0), QPoint(0, 5), QPoint(-40, 30), QPoint(200, -120), QPoint(3, 3)}) {
    at += step;
    t.surface.DragTo(at.x(), at.y(), true);
    const QRect covered = t.surface.Selection()->GetDragRect(at.x(), at.y());
    EXPECT_TRUE(t.host.lastPart.isValid());
    EXPECT_TRUE(t.host.lastPart.contains(covered));
    // Outside the selection the table is exactly the table without the carried piece.
    EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt, covered), "");
  }
  // The carried picture shows the piece's own pixels where the selection lies.
  const ChipSelection& s = *t.surface.Selection();
  EXPECT_EQ(s.Image().width, piece->Mask().TableWidth());
  // The carried piece goes with its puzzle.
  puzzle.reset();
  EXPECT_EQ(t.PiecesAnywhere(), 0);
  EXPECT_EQ(t.surface.Selection(), nullptr);
}

TEST_F(TableSurfaceTest, LoadsThatStopLeaveNoPuzzleAndTheWindowEnabled) {
  for (int stage : {0, 3, 4}) {
    HeadlessTable t(400, 300);
    t.host.cancelAtStage = stage;
    EXPECT_FALSE(Load(t, 400, 300, 40)) << stage;
    EXPECT_EQ(t.surface.GetPuzzle(), nullptr);
    EXPECT_EQ(t.host.calls.last(), QStringLiteral("enable"));
    puzzle.reset();
    EXPECT_EQ(t.PiecesAnywhere(), 0);
  }
}

// The window manager may resize the window while the pieces are laid out.
class ResizingLoad : public RecordingLoad {
public:
  ResizingLoad(TableSurface& surface, QSize size) : RecordingLoad(-1), surface_(surface), size_(size) {}
  void SetBarPosition(int position) override {
    RecordingLoad::SetBarPosition(position);
    if (!stages.empty() && stages.back() == 4 && position > 0 && !resized_) {
      resized_ = true;
      surface_.Resize(size_.width(), size_.height());
    }
  }

private:
  TableSurface& surface_;
  QSize size_;
  bool resized_ = false;
};

TEST_F(TableSurfaceTest, AResizeDuringTheLayoutWaitsForItsEnd) {
  HeadlessTable t(500, 400);
  t.host.loadWindow = [&] { return std::make_unique<ResizingLoad>(t.surface, QSize(260, 300)); };
  ASSERT_TRUE(Load(t, 500, 400, 40));
  EXPECT_EQ(QSize(t.surface.GetWidth(), t.surface.GetHeight()), QSize(260, 300));
  EXPECT_EQ(t.PiecesAnywhere(), puzzle->GetPieceCount());
  EXPECT_EQ(OffTable(t.surface), "");
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
  puzzle.reset();
}

TEST_F(TableSurfaceTest, DestroyingThePuzzleTakesItsGroupsAndCapturedPiecesAlong) {
  HeadlessTable t(400, 300);
  ASSERT_TRUE(Load(t, 400, 300, 40));
  ChipList& list = t.surface.GetChipList();
  PuzzleChip* a = list.At(0);
  PuzzleChip* b = a->Neighbour(ChipSide::Right) ? a->Neighbour(ChipSide::Right) : a->Neighbour(ChipSide::Left);
  ASSERT_TRUE(b);
  if (!list.Contains(b)) t.surface.SwitchToMini(1);
  a->Merge(b);
  list.At(list.Count() - 1)->Capture();
  EXPECT_GT(ChipGroup::Count(), 0);
  puzzle.reset();
  EXPECT_EQ(ChipGroup::Count(), 0);
  EXPECT_TRUE(PuzzleChip::CapturedList().IsEmpty());
  EXPECT_EQ(t.PiecesAnywhere(), 0);
}

TEST_F(TableSurfaceTest, FeltTakesThePlayersColourShadeByShade) {
  HeadlessTable t(64, 48);
  VirtualBuffer texture(20, 1, QStringLiteral("texture"));
  const std::uint32_t shades[] = {0x5A7E9E, 0x7599B9, 0x9CC0E0, 0x123456};
  const int steps[] = {-27, 0, 39, 0};
  for (int i = 0; i < 4; ++i) texture.memory[i] = shades[i];
  for (int colour : {0x000000, 0xFFFFFF, 0x10E080}) {
    t.surface.MakeBackground(colour);
    EXPECT_EQ(t.host.colour, colour);
  }
  const auto tinted = TintTexture(texture, 0x10E080);
  for (int i = 0; i < 4; ++i) {
    const int r = std::clamp(0x10 + steps[i], 0, 255), g = std::clamp(0xE0 + steps[i], 0, 255),
              b = std::clamp(0x80 + steps[i], 0, 255);
    EXPECT_EQ(tinted->memory[i], std::uint32_t(r << 16 | g << 8 | b)) << i;
  }
}

}  // namespace

namespace {

class SavedGameTest : public TableSurfaceTest {
protected:
  // The ids the cut of a 300 x 200 picture at size 40 gives, from a new game.
  int CutCount(HeadlessTable& t) {
    EXPECT_TRUE(Load(t, 300, 200, 40));
    const int count = puzzle->GetPieceCount();
    puzzle.reset();
    return count;
  }
  bool LoadSaved(HeadlessTable& t, int pieces, std::vector<ChipRecord> records) {
    readers.jigsaw.savedGame = true;
    readers.jigsaw.pieces = pieces;
    readers.jigsaw.pieceSize = 40;
    readers.jigsaw.pictureSize = readers.jigsaw.decodedSize = QSize(300, 200);
    readers.jigsaw.records = std::move(records);
    puzzle = std::make_unique<Puzzle>(PuzzleFixtures::ScratchPath(QStringLiteral("game.saw")));
    return t.surface.LoadPuzzle(puzzle.get());
  }
  static ChipRecord Loose(int id, float cx, float cy, int table = 0) {
    ChipRecord r;
    r.pieceId = std::uint16_t(id);
    r.centreX = cx;
    r.centreY = cy;
    r.tableIndex = std::uint8_t(table);
    return r;
  }
  bool NothingPlaced(HeadlessTable& t) {
    ChipList& list = t.surface.GetChipList();
    for (int i = 0; i < list.Count(); ++i)
      if (list.At(i)->TableX() != PuzzleChip::NotPlaced) return false;
    return true;
  }

  ReaderScope readers;
};

TEST_F(SavedGameTest, RecordsRestorePlacesGroupsAndMinisAndSoundDefaultsMendBadValues) {
  HeadlessTable t(400, 300);
  const int n = CutCount(t);
  ASSERT_GE(n, 6);
  const auto* group = new ChipGroup(ChipGroupRecord{0.5f, 0.5f, 80, 80, 7}, 400, 300);
  std::vector<ChipRecord> records;
  for (int id = 0; id < n; ++id) records.push_back(Loose(id, 0.3f, 0.6f));
  records[0] = Loose(0, std::numeric_limits<float>::quiet_NaN(), 2.0f);
  records[1].groupId = 7;
  records[1].groupOffsetX = 5;
  records[1].groupOffsetY = 6;
  records[1].rotation = 90;
  records[2].tableIndex = 2;
  records[3].tableIndex = 9;  // no such table: the main one
  records[4].groupId = 99;    // no such group: a loose piece
  ASSERT_TRUE(LoadSaved(t, n, records));
  ChipList& list = t.surface.GetChipList();
  EXPECT_EQ(list.Count(), n - 1);
  EXPECT_EQ(t.minis[2]->Chips().Count(), 1);
  EXPECT_EQ(OffTable(t.surface), "");
  const PuzzleChip* loose = list.FindById(0);
  ASSERT_TRUE(loose);
  EXPECT_FLOAT_EQ(loose->CentreX(), 0.5f);
  EXPECT_FLOAT_EQ(loose->CentreY(), 0.5f);
  const PuzzleChip* grouped = list.FindById(1);
  ASSERT_TRUE(grouped);
  EXPECT_EQ(grouped->Group(), group);
  EXPECT_EQ(QPoint(grouped->TableX(), grouped->TableY()), QPoint(group->Left() + 5, group->Top() + 6));
  EXPECT_EQ(grouped->Mask().Rotation(), 90);
  EXPECT_TRUE(list.FindById(3));
  EXPECT_EQ(list.FindById(4)->Group(), nullptr);
  EXPECT_EQ(ReferenceMismatch(t.surface, *puzzle, felt), "");
  puzzle.reset();
}

TEST_F(SavedGameTest, RecordsThatDoNotNameEveryPieceOnceAreCorruptAndPlaceNothing) {
  HeadlessTable t(400, 300);
  const int n = CutCount(t);
  std::vector<ChipRecord> all;
  for (int id = 0; id < n; ++id) all.push_back(Loose(id, 0.5f, 0.5f));
  auto missing = all, doubled = all, unknown = all;
  missing.pop_back();
  doubled.back().pieceId = 0;
  unknown.back().pieceId = 60000;
  for (const auto& records : {missing, doubled, unknown}) {
    prompts.Clear();
    EXPECT_FALSE(LoadSaved(t, n, records));
    EXPECT_TRUE(NothingPlaced(t));
    ASSERT_FALSE(prompts.Shown().isEmpty());
    EXPECT_TRUE(prompts.Shown().last().text.endsWith(QStringLiteral(" is corrupt and can not be opened.  err=4")))
        << prompts.Shown().last().text.toStdString();
    EXPECT_EQ(t.host.calls.last(), QStringLiteral("enable"));
    puzzle.reset();
  }
}

// A fault in the layout that nothing below catches still closes the loading window.
class FailingRandom : public RandomSource {
public:
  void SeedFromClock() override {}
  int Next() override { throw std::bad_alloc(); }
};

TEST_F(TableSurfaceTest, AFaultDuringTheLayoutIsReportedOnceAndLeavesNoPuzzle) {
  HeadlessTable t(400, 300);
  FailingRandom failing;
  t.surface.SetRandomSource(&failing);
  EXPECT_FALSE(Load(t, 400, 300, 40));
  EXPECT_EQ(t.surface.GetPuzzle(), nullptr);
  EXPECT_EQ(t.host.calls.last(), QStringLiteral("enable"));
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_TRUE(prompts.Shown().first().text.startsWith(QStringLiteral("TableSurface::LoadPuzzle - ")));
  puzzle.reset();
  EXPECT_EQ(t.PiecesAnywhere(), 0);
}

}  // namespace
