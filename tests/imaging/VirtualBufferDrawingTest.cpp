// Scaling, tiling, shading, marker lines, pictures and labels, pixel by pixel.

#include "ImagingFixtures.h"
#include "imaging/VirtualBuffer.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace ImagingFixtures;

TEST(VirtualBufferScaling, StretchAndResizedCopiesSampleTheNearestPixelExactly) {
  auto source = Patterned(4, 2);
  SetPixel(*source, 3, 1, 0);  // kept: nearest copies keep values exactly
  VirtualBuffer thumb(8, 6, "thumb");
  thumb.StretchFrom(*source);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelAt(thumb, x, y), PixelAt(*source, x / 2, y / 3)) << x << "," << y;

  VirtualBuffer shrunk(*source, 2, 1, false);
  EXPECT_EQ(Pixels(shrunk), (std::vector<std::uint32_t>{PatternValue(0, 0), PatternValue(2, 0)}));
}

TEST(VirtualBufferScaling, CopySizesFollowPercentAndAspect) {
  auto source = Patterned(10, 7);
  VirtualBuffer same(*source, 100);
  EXPECT_EQ(Pixels(same), Pixels(*source));
  VirtualBuffer third(*source, 33);  // 3.8 → 3 and 2.81 → 2
  EXPECT_EQ(third.width, 3);
  EXPECT_EQ(third.height, 2);
  VirtualBuffer half(*source, 50);  // 5.5 → 5 and 4.0 → 4
  EXPECT_EQ(half.width, 5);
  EXPECT_EQ(half.height, 4);
  EXPECT_TRUE(VirtualBuffer(*source, 0).IsEmpty());

  auto wide = Patterned(200, 100);
  VirtualBuffer fitted(*wide, 50, 50, true);
  EXPECT_EQ(fitted.width, 50);
  EXPECT_EQ(fitted.height, 25);
  VirtualBuffer tall(*wide, 300, 30, true);
  EXPECT_EQ(tall.width, 60);
  EXPECT_EQ(tall.height, 30);
  VirtualBuffer stretched(*wide, 50, 50, false);
  EXPECT_EQ(stretched.height, 50);
}

TEST(VirtualBufferScaling, SmoothCopiesAverageAndNeverMakeTransparentPixels) {
  // A black and white checkerboard shrinks to an even grey; black alone stays 1, not 0.
  VirtualBuffer board(64, 64, "board");
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(board, x, y, (x + y) % 2 ? 0xFFFFFF : 0);
  VirtualBuffer grey(board, 16, 16, false, VirtualBuffer::Filter::Smooth);
  for (std::uint32_t v : Pixels(grey)) {
    EXPECT_NEAR(int(v & 0xFF), 128, 3);
    EXPECT_EQ(v >> 24, 0u);
  }
  VirtualBuffer black(32, 32, "black");
  for (int percent : {37, 50, 250}) {
    VirtualBuffer copy(black, percent, VirtualBuffer::Filter::Smooth);
    ASSERT_FALSE(copy.IsEmpty());
    for (std::uint32_t v : Pixels(copy)) ASSERT_EQ(v, 1u) << percent;
  }
  // Up and down stay where they were: a red top half stays on top.
  VirtualBuffer halves(40, 40, "halves");
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) SetPixel(halves, x, y, y < 20 ? 0xFF0000 : 0x0000FF);
  VirtualBuffer small(halves, 10, 10, false, VirtualBuffer::Filter::Smooth);
  EXPECT_EQ(PixelAt(small, 5, 1), 0xFF0000u);
  EXPECT_EQ(PixelAt(small, 5, 8), 0x0000FFu);
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
        EXPECT_EQ(PixelAt(mag, x, y), inside ? PatternValue(sx, sy) : 0xABCDEFu)
            << origin.x() << "," << origin.y() << " at " << x << "," << y;
      }
  }
}

TEST(VirtualBufferScaling, TileRepeatsFromTheTopLeftCorner) {
  auto tile = Patterned(3, 2);
  VirtualBuffer table(7, 5, "table");
  table.TileFrom(*tile);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelAt(table, x, y), PatternValue(x % 3, y % 2));
}

TEST(VirtualBufferShading, DarkenFloorsEachChannelAndKeepsTheTopByte) {
  VirtualBuffer buffer(2, 1, "dark");
  SetPixel(buffer, 0, 0, 0x05FF0A10);
  SetPixel(buffer, 1, 0, 0x000E0E0E);
  buffer.Darken(14);
  EXPECT_EQ(PixelAt(buffer, 0, 0), 0x05F10002u);
  EXPECT_EQ(PixelAt(buffer, 1, 0), 0u);
}

TEST(VirtualBufferShading, ShadeMapsComeFromTheBlueByteAndApplyClampedAndClipped) {
  VirtualBuffer map(5, 1, "map");
  const std::uint32_t blues[] = {0x000001, 0xFFFF0F, 0x000002, 0x000064, 0x0000C8};
  for (int x = 0; x < 5; ++x) SetPixel(map, x, 0, blues[x]);
  map.MakeShadeMap(10, 40);
  const std::int32_t shades[] = {0, 0, -40, 10, 20};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(std::int32_t(PixelAt(map, x, 0)), shades[x]);

  VirtualBuffer table(4, 3, "table");
  for (int px : {-2, 0, 1, 3}) {
    FillAll(table, 0x20F508);
    table.ApplyShadeMap(px, 1, map);
    for (int x = 0; x < 4; ++x) {
      const int m = x - px;
      std::uint32_t want = 0x20F508;
      if (m >= 0 && m < 5 && shades[m] == -40) want = 0x00CD00;
      if (m >= 0 && m < 5 && shades[m] == 10) want = 0x2AFF12;
      if (m >= 0 && m < 5 && shades[m] == 20) want = 0x34FF1C;
      EXPECT_EQ(PixelAt(table, x, 1), want) << px << " at " << x;
      EXPECT_EQ(PixelAt(table, x, 0), 0x20F508u);
    }
  }
  table.ApplyShadeMap(0, -1, map);  // above the top edge: nothing
  table.ApplyShadeMap(0, 3, map);   // below the bottom edge
  EXPECT_EQ(PixelAt(table, 0, 2), 0x20F508u);
}

TEST(VirtualBufferLines, MarkerLinesSpanTheBufferWithTheirShadowRightAndBelow) {
  VirtualBuffer table(6, 4, "table");
  table.DrawCrossLines(QPoint(2, 1), 0xFFE784, 0xE7AD29);
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(PixelAt(table, x, 1), 0xFFE784u);
    EXPECT_EQ(PixelAt(table, x, 2), x == 2 ? 0xFFE784u : 0xE7AD29u);
  }
  for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(table, 3, y), y == 1 ? 0xFFE784u : 0xE7AD29u);
  EXPECT_EQ(PixelAt(table, 0, 0), 0u);

  VirtualBuffer mini(4, 3, "mini");
  mini.DrawCrossLines(QPoint(3, 2), 0x123456);  // no shadow; the shadow would be outside anyway
  mini.DrawVerticalLine(-1, 0xFF, 0x77);         // only the shadow column 0 is inside
  mini.DrawVerticalLine(4, 0xFF, 0x77);          // wholly outside
  EXPECT_EQ(PixelAt(mini, 0, 0), 0x77u);
  EXPECT_EQ(PixelAt(mini, 3, 0), 0x123456u);
  EXPECT_EQ(PixelAt(mini, 1, 2), 0x123456u);
  EXPECT_EQ(PixelAt(mini, 1, 1), 0u);
}

TEST(VirtualBufferDrawing, GraphicsAreDrawnUprightAndClipped) {
  QImage graphic(3, 2, QImage::Format_ARGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) graphic.setPixel(x, y, qRgb(0x10 * x + 1, 0x20 * y + 1, 0x33));
  for (QPoint at : {QPoint(0, 0), QPoint(-1, -1), QPoint(3, 2), QPoint(-3, 0)}) {
    VirtualBuffer die(5, 3, "die");
    die.DrawGraphic(graphic, at.x(), at.y());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const int gx = x - at.x(), gy = y - at.y();
        const bool inside = gx >= 0 && gy >= 0 && gx < 3 && gy < 2;
        EXPECT_EQ(PixelAt(die, x, y), inside ? (graphic.pixel(gx, gy) & 0xFFFFFF) : 0u) << x << "," << y;
      }
  }
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
      if (x > 100 && v != 0x0A0B0C) ++changedRight;
      ASSERT_EQ(v >> 24, x == 199 && y == 0 ? 0x2Au : 0u);
    }
  EXPECT_GT(white, 10);
  EXPECT_EQ(changedRight, 1) << "only four characters were asked for";
}

TEST(VirtualBufferDrawing, BitmapsAreTakenWithBlackAsOne) {
  QImage image = ColourfulImage(4, 3);
  image.setPixel(1, 2, qRgb(0, 0, 0));
  VirtualBuffer picture(image, "picture");
  EXPECT_EQ(PixelAt(picture, 1, 2), 1u);
  EXPECT_EQ(PixelAt(picture, 3, 0), image.pixel(3, 0) & 0xFFFFFF);
  EXPECT_TRUE(VirtualBuffer(QImage(), "none").IsEmpty());
  EXPECT_TRUE(VirtualBuffer(987654, "missing resource").IsEmpty());
}

TEST(VirtualBufferDrawing, TheTestCopyIsAnIndependentCopy) {
  auto buffer = Patterned(3, 3, "diagnostic");
  buffer->MakeTestCopy();
  SetPixel(*buffer, 0, 0, 0x999999);
  ASSERT_NE(VirtualBuffer::TestBuffer(), nullptr);
  EXPECT_EQ(PixelAt(*VirtualBuffer::TestBuffer(), 0, 0), PatternValue(0, 0));
  EXPECT_EQ(VirtualBuffer::TestBuffer()->name, "diagnostic");
}
