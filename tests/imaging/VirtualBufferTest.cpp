// Memory layout, sizes, clipped copies and the raster library's pixel calls.

#include "ImagingFixtures.h"
#include "Yelk/TMsgLog.h"
#include "imaging/RasterLibrary.h"
#include "imaging/VirtualBuffer.h"

#include <gtest/gtest.h>

using namespace ImagingFixtures;

namespace {

int LogLinesContaining(const QString& text) {
  int count = 0;
  for (const QString& line : TMsgLog::Lines()) count += line.contains(text);
  return count;
}

// What a copy of source onto target at (tx, ty) must give, pixel by pixel.
std::vector<std::uint32_t> ReferenceDraw(const VirtualBuffer& target, const VirtualBuffer& source,
                                         int tx, int ty, bool transparent) {
  std::vector<std::uint32_t> expected = Pixels(target);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      const int X = tx + x, Y = ty + y;
      const std::uint32_t v = PixelAt(source, x, y);
      if (X < 0 || Y < 0 || X >= target.width || Y >= target.height) continue;
      if (transparent && !(v & 0xFFFFFF)) continue;
      expected[std::size_t(Y) * target.width + X] = v;
    }
  return expected;
}

}  // namespace

TEST(VirtualBufferLayout, RowsAreBottomUpWithFourBytesPerPixel) {
  VirtualBuffer buffer(5, 3, "layout");
  EXPECT_EQ(buffer.stride, 20);
  buffer.Row(0)[1] = 0x123456;  // top row, second pixel
  EXPECT_EQ(buffer.memory[2 * 5 + 1], 0x123456u);
  EXPECT_EQ(buffer.PtToI_2(1, 0), 11);
  EXPECT_EQ(buffer.PtToI_1(QPoint(4, 2)), 4);
  const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.memory + 11);
  EXPECT_EQ(bytes[0], 0x56);  // B, G, R, 0
  EXPECT_EQ(bytes[2], 0x12);
  EXPECT_EQ(bytes[3], 0);
  EXPECT_EQ(RasterBufferAddress(buffer.handle), buffer.memory);
  EXPECT_EQ(RasterBufferMemorySize(5, 3), 60u);
}

TEST(VirtualBufferLayout, PointsOutsideGiveZeroAndAreLoggedOncePerBuffer) {
  VirtualBuffer buffer(4, 4, "outside-probe");
  for (const QPoint p : {QPoint(-1, 0), QPoint(4, 0), QPoint(0, -1), QPoint(0, 4)})
    EXPECT_EQ(buffer.PtToI_1(p), 0);
  EXPECT_EQ(LogLinesContaining("outside-probe"), 1);
}

TEST(VirtualBufferSizes, RefusedAndEmptySizesGiveBuffersOnWhichEverythingIsANoOp) {
  const int refusedBefore = LogLinesContaining("refused");
  VirtualBuffer tooWide(32768, 1, "wide");
  VirtualBuffer tooMany(32767, 8193, "many");  // over 2^28 pixels
  VirtualBuffer negative(-3, 10, "negative");
  EXPECT_EQ(LogLinesContaining("refused"), refusedBefore + 2);
  auto source = Patterned(4, 4);
  for (VirtualBuffer* empty : {&tooWide, &tooMany, &negative}) {
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_EQ(empty->width, 0);
    EXPECT_EQ(empty->handle, 0);
    EXPECT_FALSE(empty->Open());
    empty->DrawBuffer(0, 0, *source, false);
    empty->Fill(0, 0, 0x123456);
    empty->Darken(5);
    empty->DrawCrossLines(QPoint(0, 0), 0xFF, 0x11);
    EXPECT_TRUE(empty->SubImage(0, 0, 3, 3)->IsEmpty());
    source->DrawBuffer(0, 0, *empty, false);
  }
  EXPECT_EQ(Pixels(*source), Pixels(*Patterned(4, 4)));
}

TEST(VirtualBufferSizes, CallerMemoryIsUsedInPlaceAndKept) {
  std::vector<std::uint32_t> memory(4 * 2 + 3, 0xAAAAAAAA);  // rows plus a 12-byte trailer
  {
    VirtualBuffer frame(4, 2, "frame", memory.data(), memory.size() * 4);
    EXPECT_EQ(frame.memory, memory.data());
    SetPixel(frame, 0, 0, 0x00FF00);
  }
  EXPECT_EQ(memory[4], 0x00FF00u);  // top row is stored second
  EXPECT_EQ(memory[10], 0xAAAAAAAAu);
  VirtualBuffer tooSmall(4, 4, "small", memory.data(), 16);
  EXPECT_TRUE(tooSmall.IsEmpty());
}

TEST(VirtualBufferSizes, PeakCountRisesWithTheMostBuffersAliveAtOnce) {
  const int live = VirtualBuffer::LiveCount();
  {
    std::vector<std::unique_ptr<VirtualBuffer>> many;
    for (int i = 0; i < 40; ++i) many.push_back(std::make_unique<VirtualBuffer>(1, 1, "n"));
    EXPECT_EQ(VirtualBuffer::LiveCount(), live + 40);
  }
  EXPECT_EQ(VirtualBuffer::LiveCount(), live);
  EXPECT_GE(VirtualBuffer::HighCount(), live + 40);
}

TEST(VirtualBufferCopies, DrawBufferClipsAtAllFourEdges) {
  auto source = Patterned(5, 4, "src");
  SetPixel(*source, 2, 1, 0);           // transparent
  SetPixel(*source, 3, 2, 0xFF000000);  // transparent too: only the low 24 bits count
  SetPixel(*source, 1, 3, 0x3F000007);  // kept exactly, top byte included
  for (bool transparent : {false, true})
    for (int tx : {-6, -5, -4, -1, 0, 2, 6, 7, 8})
      for (int ty : {-5, -4, -3, -1, 0, 3, 5, 6}) {
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
  EXPECT_EQ(PixelAt(*inside, 0, 0), PatternValue(2, 3));
  EXPECT_EQ(PixelAt(*inside, 2, 3), PatternValue(4, 6));

  auto overhanging = picture->SubImage(-3, -2, 15, 8 + 6);  // grown past every edge
  ASSERT_EQ(overhanging->width, 10);
  ASSERT_EQ(overhanging->height, 8);
  EXPECT_EQ(Pixels(*overhanging), Pixels(*picture));
  auto corner = picture->SubImage(7, 5, 20, 20);
  EXPECT_EQ(corner->width, 3);
  EXPECT_EQ(corner->x, 7);
  EXPECT_EQ(corner->y, 5);
  EXPECT_EQ(PixelAt(*corner, 2, 2), PatternValue(9, 7));

  EXPECT_TRUE(picture->SubImage(10, 0, 12, 3)->IsEmpty());
  EXPECT_TRUE(picture->SubImage(4, 4, 3, 5)->IsEmpty());
}

TEST(VirtualBufferCopies, RasterCopyRectPlacesTheLowerLeftCornerAndClips) {
  auto source = Patterned(6, 6);
  VirtualBuffer target(6, 6, "t");
  // Rows 1..2, columns 2..4 with the lower-left corner at (0, 4): top row lands on row 3.
  RasterCopyRect(2, 4, 1, 2, 0, 4, source->handle, target.handle);
  EXPECT_EQ(PixelAt(target, 0, 3), PatternValue(2, 1));
  EXPECT_EQ(PixelAt(target, 2, 4), PatternValue(4, 2));
  EXPECT_EQ(PixelAt(target, 0, 2), 0u);
  EXPECT_EQ(PixelAt(target, 3, 4), 0u);

  VirtualBuffer clipped(6, 6, "c");
  // Overhangs the source on three sides and the target at the top: its top row lands on −3.
  RasterCopyRect(-2, 7, -1, 3, 1, 1, source->handle, clipped.handle);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      const int sx = x - 3, sy = y + 2;
      const bool copied = sx >= 0 && sy <= 3;
      EXPECT_EQ(PixelAt(clipped, x, y), copied ? PatternValue(sx, sy) : 0u) << x << "," << y;
    }
  RasterCopyRect(0, 5, 0, 5, 0, 5, source->handle, 9999);  // unknown handle: nothing
}

TEST(VirtualBufferCopies, RasterCopyRectTransparentSkipsBlackAndOverlapsWithinOneBuffer) {
  auto source = Patterned(4, 4);
  SetPixel(*source, 1, 1, 0xFF000000);
  VirtualBuffer target(4, 4, "t");
  FillAll(target, 0x555555);
  RasterCopyRectTransparent(0, 3, 0, 3, 0, 3, source->handle, target.handle);
  EXPECT_EQ(PixelAt(target, 1, 1), 0x555555u);
  EXPECT_EQ(PixelAt(target, 2, 1), PatternValue(2, 1));

  auto scroll = Patterned(3, 5);
  RasterCopyRect(0, 2, 0, 3, 0, 4, scroll->handle, scroll->handle);  // down by one row
  for (int y = 1; y < 5; ++y) EXPECT_EQ(PixelAt(*scroll, 1, y), PatternValue(1, y - 1));
}

TEST(RasterPixels, GetAndPutWorkOnTheOpenBufferOnly) {
  VirtualBuffer a(3, 3, "a"), b(3, 3, "b");
  ASSERT_TRUE(a.Open());
  RasterSetColor(RasterMapRGB(0x12, 0x34, 0x56));
  RasterPutPixel(2, 0);
  RasterPutPixel(3, 0);   // outside: ignored
  RasterPutPixel(0, -1);  // outside: ignored
  EXPECT_EQ(PixelAt(a, 2, 0), 0x123456u);
  EXPECT_EQ(RasterGetPixel(2, 0), 0x123456u);
  EXPECT_EQ(RasterGetPixel(-1, 0), 0u);
  int r, g, bl;
  RasterSplitColor(RasterGetPixel(2, 0), r, g, bl);
  EXPECT_EQ(r * 0x10000 + g * 0x100 + bl, 0x123456);
  ASSERT_TRUE(b.Open());
  EXPECT_EQ(RasterGetPixel(2, 0), 0u);

  VirtualBuffer empty(0, 0, "e");
  EXPECT_FALSE(empty.Open());
  RasterPutPixel(0, 0);  // no active buffer any more: skipped
  EXPECT_EQ(RasterGetPixel(2, 0), 0u);
  EXPECT_EQ(PixelAt(b, 0, 0), 0u);
}

TEST(RasterPixels, AFreedBufferIsNoLongerActive) {
  {
    VirtualBuffer gone(2, 2, "gone");
    gone.Open();
  }
  RasterPutPixel(0, 0);  // must not write freed memory (caught by the sanitizers)
  EXPECT_EQ(RasterGetPixel(0, 0), 0u);
}

TEST(VirtualBufferFill, FillsTheFourConnectedRegionWithAClassLibraryColour) {
  VirtualBuffer die(6, 5, "die");
  FillAll(die, 0xFFFFFF);
  // A red ring around (2, 2); the diagonal gap at its corner must not leak.
  for (int i = 1; i <= 3; ++i) {
    SetPixel(die, i, 1, 0xFF0000);
    SetPixel(die, i, 3, 0xFF0000);
    SetPixel(die, 1, i, 0xFF0000);
    SetPixel(die, 3, i, 0xFF0000);
  }
  SetPixel(die, 3, 3, 0xFFFFFF);  // diagonal neighbour of the inside only
  die.Fill(2, 2, 0x0000FF);       // class-library red: 0x00BBGGRR
  EXPECT_EQ(PixelAt(die, 2, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(die, 3, 3), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(die, 0, 0), 0xFFFFFFu);

  die.Fill(0, 0, 0);  // the outside, through the gap at (3, 3)
  EXPECT_EQ(PixelAt(die, 3, 3), 0u);
  EXPECT_EQ(PixelAt(die, 5, 4), 0u);
  die.Fill(-1, 2, 0x00FF00);  // seed outside: nothing
  die.Fill(6, 2, 0x00FF00);
  EXPECT_EQ(PixelAt(die, 5, 2), 0u);
}

TEST(VirtualBufferFill, AHugeSerpentineRegionDoesNotExhaustTheStack) {
  const int side = 2001;
  VirtualBuffer maze(side, side, "maze");
  FillAll(maze, 0xFFFFFF);
  // Walls on every other row, open at alternating ends: one corridor of ~2 million pixels.
  for (int y = 1; y < side; y += 2)
    for (int x = 0; x < side; ++x)
      if (x != ((y / 2) % 2 ? 0 : side - 1)) SetPixel(maze, x, y, 0xFF0000);
  maze.Fill(0, 0, 0);
  EXPECT_EQ(PixelAt(maze, side - 1, side - 1), 0u);
  EXPECT_EQ(PixelAt(maze, 5, 1), 0xFF0000u);
}
