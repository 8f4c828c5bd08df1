#include "TableFixtures.h"
#include "imaging/VirtualBuffer.h"
#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/ChipGroup.h"
#include "puzzle/ChipRecord.h"
#include "puzzle/MiniTable.h"
#include "puzzle/PictureSizeSource.h"
#include "settings/ProgSettings.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cmath>

using namespace TableFixtures;

namespace {

// Joins the whole grid into one group, laid out whole with its top-left piece at (x, y).
void JoinAll(PiecesOnTable& t, int columns, int rows, int x, int y) {
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column) {
      PuzzleChip* p = t.At(column, row);
      p->Place(0, true, false, false, x + CellW * column, y + CellH * row);
      if (row + column > 0) t.At(0, 0)->Merge(p);
    }
  ChipGroup* g = t.At(0, 0)->Group();
  const QRect box = t.List().GroupBounds(g->Id());
  g->SetBounds(t.table.GetWidth(), t.table.GetHeight(), true, box.left(), box.top(),
               box.right(), box.bottom());
}

}  // namespace

// Every turn, every neighbour: within the snap distance it snaps and joins, one pixel
// beyond it does not.
TEST(PieceMovesTest, SnapsWithinTheDistanceInEveryTurn) {
  Settings()->SnapDistance = 5;
  for (int rotation : {0, 90, 180, 270})
    for (ChipSide side : {ChipSide::Left, ChipSide::Right, ChipSide::Up, ChipSide::Down})
      for (int error : {5, 6})
        for (bool alongY : {false, true}) {
          PiecesOnTable t(3, 3, QSize(200, 200));
          PuzzleChip* a = t.At(1, 1);
          PuzzleChip* b = a->Neighbour(side);
          a->Mask().SetRotation(rotation);
          b->Place(rotation, true, false, false, 80, 80);
          const QPoint joined = JoinedPlace(*b, *a);
          const QPoint off = alongY ? QPoint(-error, 5) : QPoint(error, -5);
          a->Place(rotation, true, false, false, joined.x() + off.x(), joined.y() + off.y());
          const std::string where = std::to_string(rotation) + " side " +
                                    std::to_string(int(side)) + " error " + std::to_string(error);
          EXPECT_EQ(a->Snap(b, nullptr, false), error == 5) << where;
          EXPECT_EQ(a->CanSnapAny(nullptr, true), error == 5) << where;
          if (error == 6) continue;
          EXPECT_EQ(QPoint(a->TableX(), a->TableY()), joined) << where;
          ASSERT_NE(a->Group(), nullptr);
          EXPECT_EQ(a->Group(), b->Group());
          EXPECT_EQ(t.table.joinSounds, 1);
          EXPECT_TRUE(a->IsJoined(side));
        }
}

// A snap needs a turned-alike neighbour on the main table and room on the table.
TEST(PieceMovesTest, SnapRefusesOtherTurnsCapturedNeighboursAndTheTableEdge) {
  PiecesOnTable t(2, 1, QSize(100, 100));
  PuzzleChip* a = t.At(0, 0);
  PuzzleChip* b = t.At(1, 0);
  b->Place(90, true, false, false, 40, 40);
  a->Place(0, true, false, false, 40 - CellW, 40);
  EXPECT_FALSE(a->Snap(b, nullptr, false));
  b->Place(0, true, false, false, 40, 40);
  EXPECT_TRUE(a->Snap(b, nullptr, false));
  t.List().Remove(b);
  EXPECT_FALSE(a->Snap(b, nullptr, false));
  t.List().Add(b);
  b->Place(0, true, false, false, CellW, 40);
  a->Place(0, true, false, false, 0, 40);  // a's snapped place, x = 0, lies on the edge
  EXPECT_FALSE(a->Snap(b, nullptr, false));
}

// Merging never leaves a piece with a freed group, on any table or the captured list.
TEST(PieceMovesTest, MergeKeepsEveryPieceOnALiveGroup) {
  PiecesOnTable t(4, 1, QSize(200, 100));
  FakeMinis minis(2);
  PuzzleChip *a = t.At(0, 0), *b = t.At(1, 0), *c = t.At(2, 0), *d = t.At(3, 0);
  a->Merge(b);
  ChipGroup* g = a->Group();
  ASSERT_NE(g, nullptr);
  a->Merge(b);  // already one group: only the sides join
  EXPECT_EQ(ChipGroup::Find(g->Id()), g);
  EXPECT_EQ(b->Group(), g);

  c->Merge(d);
  ChipGroup* other = c->Group();
  const int otherId = other == g ? 0 : other->Id();  // the merge frees the other group
  t.List().Remove(d);
  minis.lists[1].Add(d);  // d was laid on a mini table
  b->Merge(c);
  EXPECT_EQ(ChipGroup::Count(), 1);
  EXPECT_EQ(ChipGroup::Find(otherId), nullptr);
  for (PuzzleChip* p : {a, b, c, d}) EXPECT_EQ(p->Group(), g);
  EXPECT_TRUE(b->IsJoined(ChipSide::Right));
  EXPECT_TRUE(c->IsJoined(ChipSide::Left));
  minis.lists[1].Clear();
  t.List().Add(d);

  // Restoring the joins from the groups alone.
  PiecesOnTable fresh(3, 1, QSize(100, 100));
  fresh.At(0, 0)->Merge(fresh.At(1, 0));
  fresh.At(2, 0)->SetGroup(fresh.At(0, 0)->Group());
  PuzzleChip::RestoreJoinedSides();
  EXPECT_TRUE(fresh.At(1, 0)->IsJoined(ChipSide::Right));
  EXPECT_TRUE(fresh.At(2, 0)->IsJoined(ChipSide::Left));
}

// Capturing a piece of a group takes all of it; releasing lays it back whole.
TEST(PieceMovesTest, CaptureAndReleaseKeepAGroupTogether) {
  PiecesOnTable t(5, 2, QSize(300, 200));
  RecordedTips tips;
  JoinAll(t, 5, 2, 20, 30);
  PuzzleChip* loose = new PuzzleChip(Notched(0, 100), 9, nullptr, false);
  loose->Place(0, false, true, false, 150, 150);
  t.At(2, 1)->Capture();
  EXPECT_EQ(PuzzleChip::CapturedList().Count(), 10);
  EXPECT_EQ(t.List().Count(), 1);
  EXPECT_EQ(tips.shown, QList<int>{15});
  int shown = 0;
  for (PuzzleChip* p : t.grid)
    p->Mask().ForEachRun([&](int y, int first, int last) {
      for (int x = first; x <= last; ++x) shown += !(*t.map.Cell(x, y) & PixelMap::MarkBit);
    });
  EXPECT_EQ(shown, 0);

  PuzzleChip* released = PuzzleChip::ReleaseCaptured(t.table, 100, 100);
  ASSERT_NE(released, nullptr);
  EXPECT_TRUE(PuzzleChip::CapturedList().IsEmpty());
  EXPECT_EQ(t.List().Count(), 11);
  const ChipGroup* g = released->Group();
  const int x0 = 100 - (5 * CellW) / 2, y0 = 100 - (2 * CellH) / 2;
  EXPECT_EQ(QRect(QPoint(g->Left(), g->Top()), QPoint(g->Right(), g->Bottom())),
            QRect(x0, y0, 5 * CellW, 2 * CellH));
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 5; ++column)
      EXPECT_EQ(QPoint(t.At(column, row)->TableX(), t.At(column, row)->TableY()),
                QPoint(x0 + CellW * column, y0 + CellH * row));
  EXPECT_EQ(MapMismatch(t).toStdString(), "");

  // No room: a warning, and the piece stays captured.
  Prompt::Double prompts;
  loose->Capture();
  FakeTable small(QSize(CellW + 1, 50));
  EXPECT_EQ(PuzzleChip::ReleaseCaptured(small, 5, 5), nullptr);
  ASSERT_EQ(prompts.Shown().size(), 1);
  EXPECT_EQ(prompts.Shown()[0].icon, Prompt::Warning);
  EXPECT_TRUE(prompts.Shown()[0].text.startsWith("The playing area is too small"));
  EXPECT_EQ(PuzzleChip::CapturedList().Count(), 1);
  PuzzleTable::SetCurrent(&t.table);
  TipDisplay::SetCurrent(nullptr);
}

// Centring with fractions that are not in 0..1 takes the middle.
TEST(PieceMovesTest, CentringReplacesBadFractions) {
  PiecesOnTable t(1, 1, QSize(100, 80));
  PuzzleChip* p = t.At(0, 0);
  TMsgLog::Clear();
  p->CenterAt(0, false, false, std::nan(""), 0.25);
  EXPECT_TRUE(TMsgLog::GetLogAsString().contains("Invalid centering values: x=nan, y=0.25"));
  EXPECT_EQ(p->TableX(), 50 - CellW / 2);
  EXPECT_EQ(p->TableY(), 20 - CellH / 2);
  p->CenterAt(90, false, true, 2.0, 0.0);  // turned: the box is CellH wide
  EXPECT_EQ(p->TableX(), 50 - CellH / 2);
  EXPECT_EQ(p->TableY(), 1);
  EXPECT_FLOAT_EQ(p->CentreX(), 0.5f);
}

// The saved records, byte for byte, and a group read back from its record.
TEST(PieceMovesTest, RecordsKeepTheirByteLayout) {
  PiecesOnTable t(2, 1, QSize(400, 400));
  FakeMinis minis(3);
  minis.active = 1;
  t.At(0, 0)->Merge(t.At(1, 0));
  ChipGroup* g = t.At(0, 0)->Group();
  g->SetBounds(400, 400, true, 100, 50, 123, 57);
  t.At(1, 0)->Place(90, true, false, false, 112, 50);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  t.At(1, 0)->WriteRecord(out, 1);
  g->WriteRecord(out);
  const QByteArray expectedPiece = QByteArray::fromHex(
      "0f18" "00000000" "00000000" "0100" "0100" "0c00" "0000" "5a00" "00" "01" "0800" "0c00");
  // centre 0.28, 0.135: (100 + 24 / 2) / 400 and (50 + 8 / 2) / 400
  const QByteArray expectedGroup =
      QByteArray::fromHex("1010" "295c8f3e" "713d0a3e" "1800" "0800" "0100" "0000");
  EXPECT_EQ(out.data().toHex().toStdString(), (expectedPiece + expectedGroup).toHex().toStdString());

  // All pieces: the inactive minis from the last, then the main table with the active index.
  minis.lists[2].Add(t.At(0, 0));
  out.buffer().clear();
  out.seek(0);
  PuzzleChip::WriteAllRecords(out);
  ASSERT_EQ(out.data().size(), 3 * 26);
  EXPECT_EQ(out.data()[2 + 19], char(2));
  EXPECT_EQ(out.data()[26 + 2 + 19], char(1));
  minis.lists[2].Clear();

  ChipGroupRecord record;
  record.centreX = record.centreY = 0.25f;
  record.width = record.height = 300;
  record.id = 7;
  ChipGroup read(record, 400, 400);
  EXPECT_EQ(QRect(QPoint(read.Left(), read.Top()), QPoint(read.Right(), read.Bottom())),
            QRect(QPoint(1, 1), QPoint(300, 300)));
  EXPECT_EQ(ChipGroupRecord::FromBytes(record.Bytes()).id, 7);
}

namespace {

// A live picture whose pixel at (x, y) is 0x10000 + 0x100 x + y.
class NumberedPicture : public PictureSizeSource {
public:
  NumberedPicture(int w, int h) : buffer(w, h, QStringLiteral("live")) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) buffer.Row(y)[x] = std::uint32_t(0x10000 + 0x100 * x + y);
    SetCurrent(this);
  }
  ~NumberedPicture() override { SetCurrent(nullptr); }
  QSize GetImageSize() override { return {buffer.width, buffer.height}; }
  VirtualBuffer* LivePicture() override { return &buffer; }
  VirtualBuffer buffer;
};

class FakeMiniTable : public MiniTable {
public:
  FakeMiniTable(double zoom) : buffer(100, 100, QStringLiteral("mini")), zoom(zoom) {
    for (int y = 0; y < 100; ++y) std::fill_n(buffer.Row(y), 100, 0xABCDEFu);
  }
  VirtualBuffer* Buffer() override { return &buffer; }
  double ZoomX() const override { return zoom; }
  double ZoomY() const override { return zoom; }
  void Repaint() override { ++repaints; }
  VirtualBuffer buffer;
  double zoom;
  int repaints = 0;
};

}  // namespace

// A piece and a group drawn on a mini table: turned picture pixels at the scaled place, the
// mini's own picture kept where the pieces have none.
TEST(PieceMovesTest, PiecesDrawOnAMiniTable) {
  PiecesOnTable t(2, 1, QSize(200, 200));
  NumberedPicture picture(2 * CellW, CellH);
  PuzzleChip* p = t.At(0, 0);
  p->Place(90, true, false, false, 10, 20);
  FakeMiniTable exact(1.0);
  p->DrawOnMini(exact);
  EXPECT_EQ(exact.repaints, 1);
  // Picture pixel (0, 0) turned by 90 degrees lies at the box's top right.
  EXPECT_EQ(exact.buffer.Row(20)[10 + CellH - 1], 0x10000u);
  EXPECT_EQ(exact.buffer.Row(20 + 1)[10 + CellH - 2], 0x10000u + 0x100 * 1 + 1);
  EXPECT_EQ(exact.buffer.Row(20)[10 + CellH - 2], 0xABCDEFu);  // the notch in row 1

  p->Place(0, true, false, false, 10, 20);
  t.At(1, 0)->Place(0, true, false, false, 10 + CellW, 20);
  p->Merge(t.At(1, 0));
  FakeMiniTable half(0.5);
  t.List().DrawGroup(half, p->Group());
  EXPECT_EQ(half.repaints, 1);
  EXPECT_EQ(half.buffer.Row(10)[5 + CellW - 1], 0x10000u + 0x100 * 2 * (CellW - 1) + 0);
  EXPECT_EQ(half.buffer.Row(10 + CellH / 2)[5], 0xABCDEFu);
}
