#include "TestCanvas.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

std::set<std::pair<int, int>> Drawn(const TestCanvas& canvas) {
  std::set<std::pair<int, int>> points;
  for (const QPoint& p : canvas.PixelsOf(Red)) points.insert({p.x(), p.y()});
  return points;
}

}  // namespace

TEST(PixelCanvasTest, LineStopsBeforeItsEndInEveryDirection) {
  const QPoint centre(10, 10);
  for (const QPoint& end : {QPoint(17, 13), QPoint(13, 17), QPoint(3, 12), QPoint(8, 2),
                            QPoint(10, 18), QPoint(2, 10), QPoint(16, 16), QPoint(4, 16)}) {
    TestCanvas canvas(21, 21, White);
    canvas.Canvas().SetPenColor(Red);
    canvas.Canvas().Line(centre, end);
    const auto points = Drawn(canvas);
    const int steps = std::max(std::abs(end.x() - 10), std::abs(end.y() - 10));
    EXPECT_EQ(int(points.size()), steps) << end.x() << "," << end.y();
    EXPECT_TRUE(points.count({10, 10}));
    EXPECT_FALSE(points.count({end.x(), end.y()}));
    EXPECT_TRUE(canvas.ConnectedPixels(Red));
  }
}

TEST(PixelCanvasTest, CurvesAndLinesAreClippedAtAllFourSides) {
  for (bool bottomUp : {false, true}) {
    TestCanvas canvas(30, 20, White, bottomUp);
    PixelCanvas& pen = canvas.Canvas();
    pen.SetPenColor(Red);
    pen.Line(QPoint(-10, 5), QPoint(40, 7));
    pen.Line(QPoint(12, -9), QPoint(14, 33));
    pen.PolyBezier(QPoint(-20, -20), QPoint(60, -5), QPoint(-30, 40), QPoint(50, 50));
    pen.SetPixel(-1, 0);
    pen.SetPixel(30, 19);
    EXPECT_TRUE(canvas.GuardIntact()) << "bottom-up " << bottomUp;
    EXPECT_EQ(canvas.At(0, 5), Red);
    EXPECT_EQ(canvas.At(12, 0), Red);
    EXPECT_EQ(pen.Pixel(-1, 3), 0u);
  }
}

TEST(PixelCanvasTest, ChainedCurvesDrawEveryJointOnceAndLeaveNoGap) {
  TestCanvas canvas(60, 40, White);
  PixelCanvas& pen = canvas.Canvas();
  pen.SetPenColor(Red);
  const QPoint a(3, 30), b(25, 5), c(40, 35), d(57, 8);
  pen.PolyBezier(a, QPoint(5, 5), QPoint(20, 5), b);
  pen.PolyBezier(b, QPoint(30, 5), QPoint(30, 38), c);
  pen.PolyBezier(c, QPoint(50, 35), QPoint(50, 20), d);
  EXPECT_EQ(canvas.At(b.x(), b.y()), Red);
  EXPECT_EQ(canvas.At(c.x(), c.y()), Red);
  EXPECT_NE(canvas.At(d.x(), d.y()), Red);
  EXPECT_TRUE(canvas.ConnectedPixels(Red));
}

TEST(PixelCanvasTest, DegenerateCurveDrawsNothing) {
  TestCanvas canvas(10, 10, White);
  canvas.Canvas().SetPenColor(Red);
  canvas.Canvas().PolyBezier(QPoint(4, 4), QPoint(4, 4), QPoint(4, 4), QPoint(4, 4));
  EXPECT_TRUE(canvas.PixelsOf(Red).empty());
}
