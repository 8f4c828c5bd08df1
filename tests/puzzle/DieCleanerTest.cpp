#include "ReferenceCleaner.h"
#include "TestCanvas.h"
#include "puzzle/CutLines.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/DieCleaner.h"
#include "Yelk/IntArray.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

// Lines of one to three pixels' thickness, small blobs and stray dots, some reaching the
// picture's edge: the shapes that make thinning depend on its visiting order.
void Scribble(TestCanvas& canvas, std::mt19937& random) {
  PixelCanvas& pen = canvas.Canvas();
  pen.SetPenColor(Red);
  auto coordinate = [&](int limit) { return int(random() % unsigned(limit + 4)) - 2; };
  for (int i = 0; i < 12; ++i) {
    const QPoint from(coordinate(canvas.Width()), coordinate(canvas.Height()));
    const QPoint to(coordinate(canvas.Width()), coordinate(canvas.Height()));
    const int thickness = 1 + int(random() % 3);
    for (int t = 0; t < thickness; ++t) pen.Line(from + QPoint(t, 0), to + QPoint(t, t % 2));
  }
  for (int i = 0; i < 6; ++i) {
    const int x = coordinate(canvas.Width()), y = coordinate(canvas.Height());
    const int w = 1 + int(random() % 4), h = 1 + int(random() % 4);
    for (int dy = 0; dy < h; ++dy)
      for (int dx = 0; dx < w; ++dx) pen.SetPixel(x + dx, y + dy);
  }
}

// Dense noise: many area pixels enclosed by line on all four sides.
void Speckle(TestCanvas& canvas, std::mt19937& random) {
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (random() % 100 < 70) canvas.Put(x, y, Red);
}

void Thin(TestCanvas& canvas, DieCleaner::Corners corners = DieCleaner::Corners::Erase) {
  DieCleaner cleaner(canvas.Canvas());
  cleaner.Thin(corners);
  cleaner.Render(canvas.Canvas());
}

void FillGaps(TestCanvas& canvas) {
  DieCleaner cleaner(canvas.Canvas());
  cleaner.FillGaps();
  cleaner.Render(canvas.Canvas());
}

std::string Dump(const TestCanvas& canvas) {
  std::string text;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) text += canvas.At(x, y) == Red ? '#' : '.';
    text += '\n';
  }
  return text;
}

}  // namespace

// Both ways with L corners: erased as drawn, or kept where they link a line diagonally.
TEST(DieCleanerTest, ThinningMatchesTheWholePictureScanOnRandomScribbles) {
  std::mt19937 random(7);
  for (int round = 0; round < 600; ++round) {
    const int w = 3 + int(random() % 40), h = 3 + int(random() % 30);
    const bool keepLinks = round >= 300;
    TestCanvas fast(w, h, White, round % 2 == 1), slow(w, h, White);
    Scribble(fast, random);
    slow.CopyFrom(fast);
    Thin(fast, keepLinks ? DieCleaner::Corners::KeepLinks : DieCleaner::Corners::Erase);
    ReferenceCleaner::Thin(slow, keepLinks);
    ASSERT_TRUE(fast == slow) << "round " << round << "\nfast\n" << Dump(fast) << "slow\n"
                              << Dump(slow);
    ASSERT_TRUE(fast.GuardIntact());
  }
}

TEST(DieCleanerTest, GapFillingMatchesTheWholePictureScan) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    const int w = 3 + int(random() % 30), h = 3 + int(random() % 30);
    TestCanvas fast(w, h, White, round % 2 == 0), slow(w, h, White);
    if (round % 3 == 0) {
      Scribble(fast, random);
      Thin(fast);
    } else {
      Speckle(fast, random);
    }
    slow.CopyFrom(fast);
    FillGaps(fast);
    ReferenceCleaner::FillGaps(slow);
    ASSERT_TRUE(fast == slow) << "round " << round << "\nfast\n" << Dump(fast) << "slow\n"
                              << Dump(slow);
  }
}

TEST(DieCleanerTest, ThinningKeepsALineAcrossThePictureAndDropsCornersAndDots) {
  TestCanvas canvas(20, 12, White);
  for (int x = 0; x < 20; ++x) canvas.Put(x, 3, Red);
  // A step down to a second line makes an L corner at (10, 3) / (10, 4).
  for (int x = 10; x < 20; ++x) canvas.Put(x, 3, White);
  for (int x = 10; x < 20; ++x) canvas.Put(x, 4, Red);
  canvas.Put(5, 8, Red);  // stray dot
  Thin(canvas);
  EXPECT_EQ(canvas.At(5, 8), White);
  // Still one line from the left edge to the right edge, one pixel thick.
  EXPECT_TRUE(canvas.ConnectedPixels(Red));
  EXPECT_EQ(canvas.At(0, 3), Red);
  EXPECT_EQ(canvas.At(19, 4), Red);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ((canvas.At(x, 3) == Red) + (canvas.At(x, 4) == Red), 1) << x;
}

TEST(DieCleanerTest, MatchesTheWholePictureScanOnRealCuts) {
  struct Picture {
    int width, height, size;
  };
  for (const Picture& c : {Picture{101, 77, 13}, Picture{161, 120, 20}, Picture{240, 181, 45}}) {
    const int size = c.size;
    const auto widths = CuttingDie::SpreadRemainder(size, c.width, c.width / size);
    const auto heights = CuttingDie::SpreadRemainder(size, c.height, c.height / size);
    TestCanvas fast(c.width, c.height, DieColour::Area, true), slow(c.width, c.height, 0);
    CutLines lines(fast.Canvas(), *widths, *heights, size);
    lines.DrawHorizontal();
    lines.DrawVertical();
    slow.CopyFrom(fast);
    DieCleaner cleaner(fast.Canvas());
    cleaner.Thin();
    cleaner.FillGaps();
    cleaner.Render(fast.Canvas());
    ReferenceCleaner::Thin(slow);
    ReferenceCleaner::FillGaps(slow);
    EXPECT_TRUE(fast == slow) << size;
    EXPECT_TRUE(fast.GuardIntact()) << size;
  }
}
