// Memory layout, sizes, clipped copies and the raster library's pixel calls.

#include "ImagingFixtures.h"
#include "Yelk/TMsgLog.h"

#include <gtest/gtest.h>

using namespace ImagingFixtures;

namespace {

int LogLinesContaining(const QString& text) {
  int count = 0;
  for (const QString& line : TMsgLog::Lines()) count += line.contains(text);
  return count;
}

// What a copy of source onto target at (tx, ty) must give, pixel by pixel.
std::vector<std::uint32_t> ReferenceDraw(const VirtualBuffer& target, const VirtualBuffer& source, int tx,
                                         int ty, bool transparent) {
  std::vector<std::uint32_t> expected = Pixels(target);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const int X = tx + x, Y = ty + y;
      const std::uint32_t v = PixelAt(source, x, y);
      if (X >= 0 && Y >= 0 && X < target.width && Y < target.height && (!transparent || (v & 0xFFFFFF)))
        expected[std::size_t(Y) * target.width + X] = v;
    }
  return expected;
}

}  // namespace

TEST(VirtualBufferLayout, RowsAreBottomUpAndPointsOutsideGiveZeroLoggedOnce) {
  VirtualBuffer buffer(5, 3, "outside-probe");
  EXPECT_EQ(buffer.stride, 20);
  buffer.Row(0)[1] = 0x123456;  // top row, second pixel: stored in the last row of memory
  EXPECT_EQ(buffer.memory[2 * 5 + 1], 0x123456u);
  EXPECT_EQ(buffer.PtToI_2(1, 0), 11);
  EXPECT_EQ(buffer.PtToI_1(QPoint(4, 2)), 4);
  EXPECT_EQ(RasterBufferAddress(buffer.handle), buffer.memory);
  for (const QPoint p : {QPoint(-1, 0), QPoint(5, 0), QPoint(0, -1), QPoint(0, 3)}) EXPECT_EQ(buffer.PtToI_1(p), 0);
  EXPECT_EQ(LogLinesContaining("outside-probe"), 1);
}

TEST(VirtualBufferSizes, RefusedSizesGiveEmptyBuffersOnWhichEverythingIsANoOp) {
  auto source = Patterned(4, 4);
  const auto before = Pixels(*source);
  const int live = VirtualBuffer::LiveCount();
  {
    VirtualBuffer tooWide(32768, 1, "wide"), tooMany(32767, 8193, "many"), negative(-3, 10, "negative");
    EXPECT_EQ(VirtualBuffer::LiveCount(), live + 3);
    EXPECT_GE(VirtualBuffer::HighCount(), live + 3);
    for (VirtualBuffer* empty : {&tooWide, &tooMany, &negative}) {
      EXPECT_TRUE(empty->IsEmpty());
      EXPECT_FALSE(empty->Open());
      empty->DrawBuffer(0, 0, *source, false);
      empty->Fill(0, 0, 0x123456);
      empty->DrawCrossLines(QPoint(0, 0), 0xFF, 0x11);
      EXPECT_TRUE(empty->SubImage(0, 0, 3, 3)->IsEmpty());
      source->DrawBuffer(0, 0, *empty, false);
    }
  }
  EXPECT_EQ(VirtualBuffer::LiveCount(), live);
  EXPECT_EQ(Pixels(*source), before);
}

TEST(VirtualBufferSizes, CallerMemoryIsUsedInPlaceAndKept) {
  std::vector<std::uint32_t> memory(4 * 2 + 3, 0xAAAAAAAA);  // rows plus a 12-byte trailer
  {
    VirtualBuffer frame(4, 2, "frame", memory.data(), memory.size() * 4);
    SetPixel(frame, 0, 0, 0x00FF00);
  }
  EXPECT_EQ(memory[4], 0x00FF00u);
  EXPECT_EQ(memory[10], 0xAAAAAAAAu);
  EXPECT_TRUE(VirtualBuffer(4, 4, "small", memory.data(), 16).IsEmpty());
}

TEST(VirtualBufferCopies, DrawBufferClipsAtAllFourEdges) {
  auto source = Patterned(5, 4, "src");
  SetPixel(*source, 2, 1, 0);
  SetPixel(*source, 3, 2, 0xFF000000);  // transparent too: only the low 24 bits count
  SetPixel(*source, 1, 3, 0x3F000007);  // kept exactly, top byte included
  for (bool transparent : {false, true})
    for (int tx : {-6, -5, -1, 0, 6, 8})
      for (int ty : {-5, -4, -1, 0, 5, 6}) {
        VirtualBuffer target(8, 6, "dst");
        FillAll(target, 0x777777);
        const auto expected = ReferenceDraw(target, *source, tx, ty, transparent);
        target.DrawBuffer(tx, ty, *source, transparent);
        EXPECT_EQ(Pixels(target), expected) << tx << "," << ty << " transparent " << transparent;
      }
}

TEST(VirtualBufferCopies, SubImageIsInclusiveAndKeepsOnlyThePartInside) {
  auto picture = Patterned(10, 8);
  auto inside = picture->SubImage(2, 3, 4, 6);
  ASSERT_EQ(inside->width, 3);
  ASSERT_EQ(inside->height, 4);
  EXPECT_EQ(PixelAt(*inside, 2, 3), PatternValue(4, 6));
  EXPECT_EQ(Pixels(*picture->SubImage(-3, -2, 15, 14)), Pixels(*picture));  // grown past every edge
  auto corner = picture->SubImage(7, 5, 20, 20);
  EXPECT_EQ(corner->width, 3);
  EXPECT_EQ(corner->x, 7);
  EXPECT_EQ(PixelAt(*corner, 2, 2), PatternValue(9, 7));
  EXPECT_TRUE(picture->SubImage(10, 0, 12, 3)->IsEmpty());
}

TEST(VirtualBufferCopies, RasterCopyRectPlacesTheLowerLeftCornerAndClips) {
  auto source = Patterned(6, 6);
  VirtualBuffer target(6, 6, "t");
  // Rows 1..2, columns 2..4 with the lower-left corner at (0, 4): the top row lands on row 3.
  RasterCopyRect(2, 4, 1, 2, 0, 4, source->handle, target.handle);
  EXPECT_EQ(PixelAt(target, 0, 3), PatternValue(2, 1));
  EXPECT_EQ(PixelAt(target, 2, 4), PatternValue(4, 2));
  EXPECT_EQ(PixelAt(target, 0, 2) | PixelAt(target, 3, 4), 0u);

  VirtualBuffer clipped(6, 6, "c");
  // Overhangs the source on three sides and the target at the top: its top row lands on −3.
  RasterCopyRectTransparent(-2, 7, -1, 3, 1, 1, source->handle, clipped.handle);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int sx = x - 3, sy = y + 2;
      EXPECT_EQ(PixelAt(clipped, x, y), sx >= 0 && sy <= 3 ? PatternValue(sx, sy) : 0u) << x << "," << y;
    }
  auto scroll = Patterned(6, 5);
  RasterCopyRect(0, 5, 0, 3, 0, 4, scroll->handle, scroll->handle);  // down by one row, overlapping
  RasterCopyRectTransparent(0, 4, 0, 4, 1, 4, scroll->handle, scroll->handle);  // right by one
  for (int y = 1; y < 5; ++y) EXPECT_EQ(PixelAt(*scroll, 5, y), PatternValue(4, y - 1));
}

TEST(RasterPixels, GetAndPutWorkOnTheOpenBufferOnly) {
  VirtualBuffer a(3, 3, "a");
  ASSERT_TRUE(a.Open());
  RasterSetColor(RasterMapRGB(0x12, 0x34, 0x56));
  for (QPoint p : {QPoint(2, 0), QPoint(3, 0), QPoint(0, -1)}) RasterPutPixel(p.x(), p.y());
  EXPECT_EQ(Pixels(a), (std::vector<std::uint32_t>{0, 0, 0x123456, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(RasterGetPixel(-1, 0), 0u);
  {
    VirtualBuffer gone(2, 2, "gone");
    gone.Open();
  }
  RasterPutPixel(0, 0);  // the freed buffer is no longer active (the sanitizers catch a write)
  EXPECT_EQ(RasterGetPixel(0, 0), 0u);
}

TEST(VirtualBufferFill, FillsTheFourConnectedRegionWithAClassLibraryColour) {
  VirtualBuffer die(6, 5, "die");
  FillAll(die, 0xFFFFFF);
  for (int i = 1; i <= 3; ++i)  // a red ring around (2, 2) ...
    for (QPoint p : {QPoint(i, 1), QPoint(i, 3), QPoint(1, i), QPoint(3, i)}) SetPixel(die, p.x(), p.y(), 0xFF0000);
  SetPixel(die, 3, 3, 0xFFFFFF);  // ... with a gap that touches the inside only diagonally
  die.Fill(2, 2, 0x0000FF);       // class-library red: 0x00BBGGRR
  EXPECT_EQ(PixelAt(die, 2, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(die, 3, 3), 0xFFFFFFu);
  die.Fill(-1, 2, 0x00FF00);  // seed outside: nothing
  EXPECT_EQ(PixelAt(die, 0, 2), 0xFFFFFFu);

  // One corridor of about two million pixels: a recursive fill would exhaust the stack.
  const int side = 2001;
  VirtualBuffer maze(side, side, "maze");
  FillAll(maze, 0xFFFFFF);
  for (int y = 1; y < side; y += 2)
    for (int x = 0; x < side; ++x)
      if (x != ((y / 2) % 2 ? 0 : side - 1)) SetPixel(maze, x, y, 0xFF0000);
  maze.Fill(0, 0, 0);
  EXPECT_EQ(PixelAt(maze, side - 1, side - 1), 0u);
  EXPECT_EQ(PixelAt(maze, 5, 1), 0xFF0000u);
}
