#include "TestCanvas.h"
#include "puzzle/BezierCurve.h"
#include "puzzle/ChipEdge.h"
#include "puzzle/EdgeTemplates.h"
#include "puzzle/PolarPoint.h"
#include "puzzle/PuzzleCut.h"
#include "Yelk/ERangeError.h"
#include "Yelk/IntArray.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

}  // namespace

TEST(EdgeShapesTest, PolarPointTruncatesTowardZeroWithSinglePrecisionDegrees) {
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 90, 100), QPoint(0, 100));
  EXPECT_EQ(PolarPoint(QPoint(7, 9), 0, 40), QPoint(47, 9));
  // -3 + 0.5 truncates to -2, not -3.
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 180, 3), QPoint(-2, 0));
  // With the single-precision factor sin(30°) stays a hair below one half; exact radians
  // would give (1, 1) and (1, 0).
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 30, 1), QPoint(1, 0));
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 300, 1), QPoint(0, 0));
  EXPECT_EQ(PolarPoint(QPoint(10, 10), 270, 10), QPoint(10, 0));
}

TEST(EdgeShapesTest, MirrorAndReverseKeepAnglesNonNegative) {
  BezierCurve curve(4000, 0, 800, 0, 800, 285);
  curve.Mirror(false, false);
  EXPECT_EQ(curve.EndAngle(), 360.0f);
  curve.Mirror(true, false);  // 180 - 360
  EXPECT_EQ(curve.EndAngle(), 180.0f);
  BezierCurve knob(1200, 250, 0, 297, 100, 75);
  knob.Reverse();
  EXPECT_EQ(knob.EndAngle(), 70.0f);
  EXPECT_EQ(knob.FirstAngle(), 75.0f);
  EXPECT_EQ(knob.FirstLength(), 100.0f);
}

// Every side of every table, at small and large piece sizes, is one unbroken line from its
// start to its end, with its knob on the side the table promises.
TEST(EdgeShapesTest, EverySideIsOneClosedLineWithItsKnobOnTheRightSide) {
  for (int size : {13, 18, 19, 21, 22, 40, 80, 200}) {
    const EdgeTables edges{EdgeTemplates(size)};
    for (int i = 0; i < EdgeTemplates::ShapeCount; ++i) {
      // Table, side, direction of the side, direction of the knob.
      const std::tuple<char, const ChipEdge&, QPoint, QPoint> sides[] = {
          {'A', edges.A(i), {1, 0}, {0, 1}}, {'B', edges.B(i), {1, 0}, {0, -1}},
          {'C', edges.C(i), {0, 1}, {-1, 0}}, {'D', edges.D(i), {0, 1}, {1, 0}}};
      for (const auto& [table, edge, step, knob] : sides) {
        SCOPED_TRACE(testing::Message() << table << i << " at size " << size);
        TestCanvas canvas(3 * size, 3 * size, White);
        canvas.Canvas().SetPenColor(Red);
        const QPoint start(size, size);
        const QPoint end = edge.Draw(canvas.Canvas(), 10000.0f / size, start);
        EXPECT_EQ(end, start + step * size);
        EXPECT_EQ(canvas.At(start.x(), start.y()), Red);
        EXPECT_EQ(canvas.At(end.x(), end.y()), Red);
        EXPECT_TRUE(canvas.ConnectedPixels(Red));
        int bulge = 0, against = 0;
        for (const QPoint& p : canvas.PixelsOf(Red)) {
          const int across = QPoint::dotProduct(p - start, knob);
          bulge = std::max(bulge, across);
          against = std::max(against, -across);
        }
        EXPECT_GE(bulge, size / 8);
        EXPECT_LT(against * 3, bulge);
      }
    }
  }
}

TEST(EdgeShapesTest, CutStretchesEachSideToItsLengthAndNeedsALengthPerSide) {
  const EdgeTables edges{EdgeTemplates(40)};
  PuzzleCut cut;
  cut.Add(&edges.A(0));
  cut.Add(nullptr);
  cut.Add(&edges.B(1));
  cut.Add(&edges.A(2));
  ASSERT_EQ(cut.Count(), 3);
  IntArray lengths(QStringLiteral("Chip Lengths"));
  for (int length : {40, 41, 40}) lengths.Add(length);
  TestCanvas canvas(160, 60, White);
  canvas.Canvas().SetPenColor(Red);
  cut.Draw(canvas.Canvas(), lengths, QPoint(10, 30));
  int left = 1000, right = -1;
  for (const QPoint& p : canvas.PixelsOf(Red)) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
  }
  EXPECT_EQ(left, 10);
  EXPECT_NEAR(right - left, 121, 1);
  EXPECT_TRUE(canvas.ConnectedPixels(Red));

  lengths.Delete(2);
  EXPECT_THROW(cut.Draw(canvas.Canvas(), lengths, QPoint(10, 30)), ERangeError);
  cut.Clear();
  EXPECT_EQ(cut.Count(), 0);
}
