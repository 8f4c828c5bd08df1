#include "TestCanvas.h"
#include "puzzle/BezierCurve.h"
#include "puzzle/ChipEdge.h"
#include "puzzle/EdgeTemplates.h"
#include "puzzle/PolarPoint.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

using EdgeOf = std::function<const ChipEdge&(const EdgeTables&, int)>;

}  // namespace

TEST(EdgeShapesTest, PolarPointTruncatesTowardZeroWithSinglePrecisionDegrees) {
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 90, 100), QPoint(0, 100));
  EXPECT_EQ(PolarPoint(QPoint(7, 9), 0, 40), QPoint(47, 9));
  // -3 + 0.5 truncates to -2, not -3.
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 180, 3), QPoint(-2, 0));
  // With the single-precision factor, cos(60°) × 7 is a hair above 3.5, so 0.5 lifts it to 4.
  EXPECT_EQ(PolarPoint(QPoint(0, 0), 60, 7).x(), 4);
  EXPECT_EQ(PolarPoint(QPoint(10, 10), 270, 10), QPoint(10, 0));
}

TEST(EdgeShapesTest, MirrorAndReverseKeepAnglesNonNegative) {
  BezierCurve curve(4000, 0, 800, 0, 800, 285);
  curve.Mirror(false, false);
  EXPECT_EQ(curve.EndAngle(), 360.0f);
  EXPECT_EQ(curve.SecondAngle(), 75.0f);
  curve.Mirror(true, false);  // 180 - 360
  EXPECT_EQ(curve.EndAngle(), 180.0f);
  EXPECT_EQ(curve.SecondAngle(), 105.0f);

  BezierCurve knob(1200, 250, 0, 297, 100, 75);
  knob.Reverse();
  EXPECT_EQ(knob.EndAngle(), 70.0f);
  EXPECT_EQ(knob.FirstAngle(), 75.0f);
  EXPECT_EQ(knob.FirstLength(), 100.0f);
  EXPECT_EQ(knob.SecondAngle(), 297.0f);
  knob.Rotate(-100);
  EXPECT_EQ(knob.EndAngle(), 330.0f);
}

TEST(EdgeShapesTest, TemplatesSwitchToTheLongFormsAbove18And21) {
  EXPECT_EQ(EdgeTemplates(18).Template(0), EdgeTemplates(18).Template(1));
  EXPECT_EQ(EdgeTemplates(19).Template(0).EndLength(), 4020.0f);
  for (int t : {2, 3, 5, 6}) {
    EXPECT_EQ(EdgeTemplates(21).Template(t), EdgeTemplates(21).Template(4)) << t;
    EXPECT_EQ(EdgeTemplates(22).Template(t).EndLength(), 1200.0f) << t;
  }
  EXPECT_EQ(EdgeTemplates(22).Template(2).FirstLength(), 0.0f);
}

TEST(EdgeShapesTest, CurveWithoutFirstLengthStartsItsControlOnTheStart) {
  // A straight end with both controls on the ends draws a plain line.
  TestCanvas canvas(40, 10, White);
  canvas.Canvas().SetPenColor(Red);
  const BezierCurve straight(10000, 0, 0, 0, 0, 0);
  EXPECT_EQ(straight.Draw(canvas.Canvas(), 10000.0f / 30, QPoint(2, 5)), QPoint(32, 5));
  EXPECT_EQ(canvas.PixelsOf(Red).size(), 30u);
}

// Every side of every table, at small and large piece sizes, is one unbroken line from its
// start to its end, with its knob on the side the table promises.
TEST(EdgeShapesTest, EverySideIsOneClosedLineWithItsKnobOnTheRightSide) {
  struct Table {
    const char* name;
    EdgeOf edge;
    QPoint step;      // direction of the side
    QPoint knobSide;  // where the knob must bulge
  };
  const Table tables[] = {
      {"A", [](const EdgeTables& t, int i) -> const ChipEdge& { return t.A(i); }, {1, 0}, {0, 1}},
      {"B", [](const EdgeTables& t, int i) -> const ChipEdge& { return t.B(i); }, {1, 0}, {0, -1}},
      {"C", [](const EdgeTables& t, int i) -> const ChipEdge& { return t.C(i); }, {0, 1}, {-1, 0}},
      {"D", [](const EdgeTables& t, int i) -> const ChipEdge& { return t.D(i); }, {0, 1}, {1, 0}},
  };
  for (int size : {13, 18, 19, 21, 22, 40, 80, 200}) {
    const EdgeTables edges{EdgeTemplates(size)};
    for (const Table& table : tables)
      for (int i = 0; i < EdgeTemplates::ShapeCount; ++i) {
        const int side = 3 * size;
        TestCanvas canvas(side, side, White);
        canvas.Canvas().SetPenColor(Red);
        const QPoint start(size, size);
        const QPoint end = table.edge(edges, i).Draw(canvas.Canvas(), 10000.0f / size, start);
        const QPoint expectedEnd = start + table.step * size;
        const char* where = table.name;
        EXPECT_EQ(end, expectedEnd) << where << i << " size " << size;
        EXPECT_EQ(canvas.At(start.x(), start.y()), Red) << where << i << " size " << size;
        EXPECT_EQ(canvas.At(end.x(), end.y()), Red) << where << i << " size " << size;
        EXPECT_TRUE(canvas.ConnectedPixels(Red)) << where << i << " size " << size;
        int bulge = 0, against = 0;
        for (const QPoint& p : canvas.PixelsOf(Red)) {
          const QPoint off = p - start;
          const int across = off.x() * table.knobSide.x() + off.y() * table.knobSide.y();
          bulge = std::max(bulge, across);
          against = std::max(against, -across);
        }
        EXPECT_GE(bulge, size / 8) << where << i << " size " << size;
        EXPECT_LT(against * 3, bulge) << where << i << " size " << size;
      }
  }
}
