// Scaling, tiling, shading, marker lines, pictures and labels, pixel by pixel.

#include "ImagingFixtures.h"

#include <gtest/gtest.h>

using namespace ImagingFixtures;

TEST(VirtualBufferScaling, NearestCopiesKeepValuesAndSizesFollowPercentAndAspect) {
  auto source = Patterned(4, 2);
  SetPixel(*source, 3, 1, 0);
  VirtualBuffer thumb(8, 6, "thumb");
  thumb.StretchFrom(*source);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(thumb, x, y), PixelAt(*source, x / 2, y / 3)) << x << "," << y;

  auto wide = Patterned(10, 7);
  EXPECT_EQ(Pixels(VirtualBuffer(*wide, 100)), Pixels(*wide));
  const VirtualBuffer third(*wide, 33), fitted(*wide, 50, 50, true), stretched(*wide, 50, 50, false);
  EXPECT_EQ(QSize(third.width, third.height), QSize(3, 2));  // 3.8 and 2.81, truncated
  EXPECT_EQ(QSize(fitted.width, fitted.height), QSize(50, 35));
  EXPECT_EQ(QSize(stretched.width, stretched.height), QSize(50, 50));
  EXPECT_TRUE(VirtualBuffer(*wide, 0).IsEmpty());
}

TEST(VirtualBufferScaling, SmoothCopiesAverageKeepUpAndDownAndNeverMakeTransparentPixels) {
  VirtualBuffer board(64, 64, "board");  // black and white checkerboard with a red top row
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(board, x, y, y < 4 ? 0xFF0000 : (x + y) % 2 ? 0xFFFFFF : 0);
  VirtualBuffer small(board, 16, 16, false, VirtualBuffer::Filter::Smooth);
  EXPECT_EQ(PixelAt(small, 5, 0), 0xFF0000u);
  EXPECT_NEAR(int(PixelAt(small, 5, 8) & 0xFF), 128, 3);
  VirtualBuffer black(32, 32, "black");
  for (int percent : {37, 250}) {
    VirtualBuffer copy(black, percent, VirtualBuffer::Filter::Smooth);
    ASSERT_FALSE(copy.IsEmpty());
    for (std::uint32_t v : Pixels(copy)) ASSERT_EQ(v, 1u) << percent;
  }
}

TEST(VirtualBufferScaling, MagnifyDoublesTheRegionAndClipsAtTheSourceEdges) {
  auto source = Patterned(6, 5);
  for (QPoint origin : {QPoint(1, 1), QPoint(-2, -1), QPoint(4, 3), QPoint(9, 0)}) {
    VirtualBuffer mag(8, 6, "mag");
    FillAll(mag, 0xABCDEF);
    mag.MagnifyFrom(*source, origin.x(), origin.y());
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const int sx = origin.x() + x / 2, sy = origin.y() + y / 2;
        const bool inside = sx >= 0 && sy >= 0 && sx < 6 && sy < 5;
        EXPECT_EQ(PixelAt(mag, x, y), inside ? PatternValue(sx, sy) : 0xABCDEFu) << x << "," << y;
      }
  }
  VirtualBuffer table(7, 5, "table");
  table.TileFrom(*Patterned(3, 2));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelAt(table, x, y), PatternValue(x % 3, y % 2));
}

TEST(VirtualBufferShading, DarkenAndShadeMapsClampEachChannelAndKeepTheTopByte) {
  VirtualBuffer buffer(2, 1, "dark");
  SetPixel(buffer, 0, 0, 0x05FF0A10);
  SetPixel(buffer, 1, 0, 0x000E0E0E);
  buffer.Darken(14);
  EXPECT_EQ(Pixels(buffer), (std::vector<std::uint32_t>{0x05F10002, 0}));

  VirtualBuffer map(5, 1, "map");
  const std::uint32_t blues[] = {0x000001, 0xFFFF0F, 0x000002, 0x000064, 0x0000C8};
  for (int x = 0; x < 5; ++x) SetPixel(map, x, 0, blues[x]);
  map.MakeShadeMap(10, 40);
  const std::int32_t shades[] = {0, 0, -40, 10, 20};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(std::int32_t(PixelAt(map, x, 0)), shades[x]);

  VirtualBuffer table(4, 3, "table");
  for (QPoint at : {QPoint(-2, 1), QPoint(1, 1), QPoint(3, 1), QPoint(0, -1), QPoint(0, 3)}) {
    FillAll(table, 0x20F508);
    table.ApplyShadeMap(at.x(), at.y(), map);
    for (int x = 0; x < 4; ++x) {
      const int m = x - at.x();
      const int shade = at.y() == 1 && m >= 0 && m < 5 ? shades[m] : 0;
      const std::uint32_t want = shade == -40 ? 0x00CD00 : shade == 10 ? 0x2AFF12 : shade == 20 ? 0x34FF1C : 0x20F508;
      EXPECT_EQ(PixelAt(table, x, 1), want) << at.x() << "," << at.y() << " at " << x;
    }
  }
}

TEST(VirtualBufferLines, MarkerLinesSpanTheBufferWithTheirShadowRightAndBelow) {
  VirtualBuffer table(6, 4, "table");
  table.DrawCrossLines(QPoint(2, 1), 0xFFE784, 0xE7AD29);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(PixelAt(table, x, 2), x == 2 ? 0xFFE784u : 0xE7AD29u);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(table, 3, y), y == 1 ? 0xFFE784u : 0xE7AD29u);
  EXPECT_EQ(PixelAt(table, 0, 0), 0u);

  VirtualBuffer mini(4, 3, "mini");
  mini.DrawVerticalLine(-1, 0xFF, 0x77);  // only the shadow column is inside
  mini.DrawVerticalLine(4, 0xFF, 0x77);   // wholly outside
  EXPECT_EQ(Pixels(mini), (std::vector<std::uint32_t>{0x77, 0, 0, 0, 0x77, 0, 0, 0, 0x77, 0, 0, 0}));
}

TEST(VirtualBufferDrawing, GraphicsAreDrawnUprightAndClippedAndBitmapsTakeBlackAsOne) {
  QImage graphic = ColourfulImage(3, 2);
  graphic.setPixel(1, 1, qRgb(0, 0, 0));
  for (QPoint at : {QPoint(0, 0), QPoint(-1, -1), QPoint(3, 2)}) {
    VirtualBuffer die(5, 3, "die");
    die.DrawGraphic(graphic, at.x(), at.y());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const int gx = x - at.x(), gy = y - at.y();
        const bool inside = gx >= 0 && gy >= 0 && gx < 3 && gy < 2;
        EXPECT_EQ(PixelAt(die, x, y), inside ? (graphic.pixel(gx, gy) & 0xFFFFFF) : 0u) << x << "," << y;
      }
  }
  VirtualBuffer picture(graphic, "picture");
  EXPECT_EQ(PixelAt(picture, 1, 1), 1u);
  EXPECT_EQ(PixelAt(picture, 2, 0), graphic.pixel(2, 0) & 0xFFFFFF);
}

TEST(VirtualBufferDrawing, LabelsAreWhiteTextLeavingTheRestAlone) {
  VirtualBuffer notice(200, 40, "notice");
  FillAll(notice, 0x0A0B0C);
  SetPixel(notice, 199, 0, 0x2A0B0C0D);  // a caller's bits in the top byte survive
  notice.DrawLabel("Made by the puzzle folk, really", 4);
  int white = 0, changedRight = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      const std::uint32_t v = PixelAt(notice, x, y);
      white += v == 0xFFFFFF;
      changedRight += x > 100 && v != 0x0A0B0C;
    }
  EXPECT_GT(white, 10);
  EXPECT_EQ(changedRight, 1) << "only four characters were asked for";
}
