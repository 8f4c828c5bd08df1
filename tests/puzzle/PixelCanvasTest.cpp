#include "TestCanvas.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

}  // namespace

TEST(PixelCanvasTest, NothingIsWrittenOutsideOnAnySide) {
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
