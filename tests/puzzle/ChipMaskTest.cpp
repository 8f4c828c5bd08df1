#include "TableFixtures.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/BevelRings.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PuzzleChip.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using TableFixtures::Turned;

struct Run {
  int y, first, last;
};

std::unique_ptr<ChipMask> MaskOf(const std::vector<Run>& runs) {
  auto mask = std::make_unique<ChipMask>();
  for (const Run& run : runs) mask->AppendRun(run.first, run.y, run.last - run.first + 1);
  mask->Finish();
  return mask;
}

// Picture pixel (x, y) lies in the mask.
bool Holds(const ChipMask& mask, int x, int y) {
  bool found = false;
  mask.ForEachRunOfRow(y - mask.FirstRow(),
                       [&](int first, int last) { found = found || (first <= x && x <= last); });
  return found;
}

// The picture step that moves one pixel right and down on the table.
QPoint DownRight(int rotation) {
  for (int sx : {-1, 1})
    for (int sy : {-1, 1})
      if (Turned(rotation, 5 + sx, 5 + sy, 20, 20) - Turned(rotation, 5, 5, 20, 20) == QPoint(1, 1))
        return {sx, sy};
  return {};
}

// The shading rule read literally: pixel by pixel in run order, later writes winning.
void ReferenceBevel(const ChipMask& mask, std::vector<int>& map, int mapWidth) {
  const QPoint d = DownRight(mask.Rotation());
  const int depth = BevelRings::Depth();
  mask.ForEachRun([&](int y, int first, int last) {
    for (int x = first; x <= last; ++x) map[std::size_t(y) * mapWidth + x] = 0;
  });
  mask.ForEachRun([&](int y, int first, int last) {
    for (int x = first; x <= last; ++x) {
      int sign = 0;
      if (!Holds(mask, x - d.x(), y - d.y()))
        sign = 1;
      else if (!Holds(mask, x + d.x(), y + d.y()))
        sign = -1;
      if (!sign) continue;
      int n = 1;
      while (n < depth && Holds(mask, x + sign * n * d.x(), y + sign * n * d.y())) ++n;
      for (int k = 0; k < n; ++k)
        map[std::size_t(y + sign * k * d.y()) * mapWidth + x + sign * k * d.x()] =
            sign * BevelRings::Value(k + 1);
    }
  });
}

std::vector<OutlinePoint> ReferenceOutline(const ChipMask& mask) {
  const QPoint d = DownRight(mask.Rotation());
  std::vector<OutlinePoint> points;
  mask.ForEachRun([&](int y, int first, int last) {
    for (int x = first; x <= last; ++x) {
      int count = 0;
      for (int k = 1; k <= 6; ++k) {
        const int qx = x + k * d.x(), qy = y + k * d.y();
        if (qx < mask.MinX() || qx >= mask.MinX() + mask.Width() || qy < mask.FirstRow() ||
            qy >= mask.FirstRow() + mask.Height()) {
          count = 6;
          break;
        }
        if (Holds(mask, qx, qy)) break;
        ++count;
      }
      if (!count) continue;
      const QPoint at = Turned(mask.Rotation(), x - mask.MinX(), y - mask.FirstRow(),
                               mask.Width(), mask.Height());
      points.push_back({std::uint16_t(mask.MinX() + at.x() + 1),
                        std::uint16_t(mask.FirstRow() + at.y() + 1), std::uint16_t(std::min(count, 4)),
                        std::uint16_t(count)});
    }
  });
  return points;
}

// The turned piece holds exactly the table points its pixels turn to.
void ExpectPointTest(const ChipMask& mask) {
  const int x0 = 300, y0 = 200;
  int pixels = 0, misses = 0, hits = 0;
  mask.ForEachRun([&](int y, int first, int last) {
    for (int x = first; x <= last; ++x, ++pixels) {
      const QPoint at = Turned(mask.Rotation(), x - mask.MinX(), y - mask.FirstRow(),
                               mask.Width(), mask.Height());
      misses += !mask.ContainsPt(x0, y0, x0 + at.x(), y0 + at.y());
    }
  });
  for (int py = y0 - 2; py < y0 + mask.TableHeight() + 2; ++py)
    for (int px = x0 - 2; px < x0 + mask.TableWidth() + 2; ++px) hits += mask.ContainsPt(x0, y0, px, py);
  EXPECT_EQ(misses, 0);
  EXPECT_EQ(hits, pixels);
}

void ExpectTurnsAsReference(ChipMask& mask, BevelFilter& bevel) {
  for (int rotation : {0, 90, 180, 270}) {
    SCOPED_TRACE("turned " + std::to_string(rotation));
    mask.SetRotation(rotation);
    ExpectPointTest(mask);
    // Pixels outside the piece keep what they hold.
    std::vector<int> expected(std::size_t(bevel.Width()) * bevel.Height(), 77);
    for (int y = 0; y < bevel.Height(); ++y) std::fill_n(bevel.MapRow(y), bevel.Width(), 77);
    ReferenceBevel(mask, expected, bevel.Width());
    mask.BuildBevel(bevel);
    int wrong = 0;
    for (int y = 0; y < bevel.Height(); ++y)
      for (int x = 0; x < bevel.Width(); ++x)
        wrong += bevel.MapRow(y)[x] != expected[std::size_t(y) * bevel.Width() + x];
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(bevel.IsPending());

    const std::vector<OutlinePoint> outline = mask.BuildOutline(4, 6), reference = ReferenceOutline(mask);
    auto fields = [](const std::vector<OutlinePoint>& points) {
      std::vector<std::array<int, 4>> all;
      for (const OutlinePoint& p : points) all.push_back({p.x, p.y, p.restingLength, p.carriedLength});
      return all;
    };
    EXPECT_EQ(fields(outline), fields(reference));
  }
}

// Teeth one and two pixels wide, a row with nothing in it, and a part of its own below: the
// rings there are shallower than the ring depth.
const std::vector<Run> combRuns = {
    {10, 20, 40}, {11, 20, 40}, {12, 20, 20}, {12, 22, 23}, {12, 26, 26}, {12, 30, 40},
    {13, 20, 20}, {13, 22, 23}, {13, 26, 26}, {13, 30, 40}, {14, 20, 40}, {15, 25, 27},
    {17, 24, 35}, {18, 23, 36}, {19, 24, 35}};

}  // namespace

// A row without runs gets its own index entry: points there and in every row after it are
// answered from the right row.
TEST(ChipMaskTest, RowIndexHasAnEntryForEveryRow) {
  const std::unique_ptr<ChipMask> mask = MaskOf(combRuns);
  EXPECT_EQ(mask->Height(), 10);
  const int x = 100, y = 50;  // placed here, not turned
  for (int py = y - 1; py <= y + 11; ++py)
    for (int px = x - 1; px <= x + 18; ++px)
      EXPECT_EQ(mask->ContainsPt(x, y, px, py), Holds(*mask, px - x + 20, py - y + 10))
          << px << "," << py;
}

// Run counts and row indexes beyond 16 bits.
TEST(ChipMaskTest, LargeMasksKeepTheirRuns) {
  ChipMask mask(30000);
  for (int y = 0; y < 30000; ++y)
    for (int run = 0; run < 3; ++run) mask.AppendRun(10 * run + (y & 1), y, 5);
  mask.Finish();
  EXPECT_EQ(mask.RunCount(), 90000);
  EXPECT_EQ(mask.Height(), 30000);
  EXPECT_TRUE(mask.ContainsPt(0, 0, 25, 29999));
  EXPECT_FALSE(mask.ContainsPt(0, 0, 26, 29998));
  EXPECT_TRUE(mask.ContainsPt(0, 0, 24, 29998));
}

TEST(ChipMaskTest, PointsRingsAndOutlineFollowTheRulesInEveryTurn) {
  {
    SCOPED_TRACE("comb");
    const std::unique_ptr<ChipMask> mask = MaskOf(combRuns);
    BevelFilter bevel(nullptr, true, 25, 45);
    for (int style : {1, 2, 3}) {
      SCOPED_TRACE("style " + std::to_string(style));
      BevelRings::SetBevelStyle(style);
      ExpectTurnsAsReference(*mask, bevel);
    }
  }
  SCOPED_TRACE("cut pieces");
  FakeTable table(QSize(1000, 800));
  FakePicture source(160, 150);
  CuttingDie die(&source, 50, nullptr);
  ASSERT_GT(CuttingDie::CutChips(&die, nullptr, false, nullptr), 0);
  BevelFilter bevel(nullptr, true, 150, 160);
  BevelRings::SetBevelStyle(3);
  for (int i = 0; i < table.pieces.Count(); ++i) ExpectTurnsAsReference(table.pieces[i]->Mask(), bevel);
}
