#include "ReferenceCleaner.h"

#include "TestCanvas.h"

namespace {

constexpr std::uint32_t White = 0xFFFFFF, Red = 0xFF0000;

int ThinPixel(TestCanvas& c, int x, int y) {
  const PixelCanvas& p = c.Canvas();
  const std::uint32_t ring[8] = {p.Pixel(x - 1, y), p.Pixel(x - 1, y + 1), p.Pixel(x, y + 1),
                                 p.Pixel(x + 1, y + 1), p.Pixel(x + 1, y),
                                 p.Pixel(x + 1, y - 1), p.Pixel(x, y - 1),
                                 p.Pixel(x - 1, y - 1)};
  int changes = 0;
  for (int i = 0; i < 7; ++i)
    if (ring[i] != ring[i + 1] && ++changes == 3) return 0;
  if (x >= 0 && y >= 0 && x < c.Width() && y < c.Height()) c.Put(x, y, White);
  return 1;
}

}  // namespace

void ReferenceCleaner::Thin(TestCanvas& c, bool keepLinks) {
  const int w = c.Width(), h = c.Height();
  bool firstSweep = true, sweepChanged;
  do {
    sweepChanged = false;
    bool passOneChanged = false;
    for (int x = w - 2; x >= 1; --x)
      for (int y = h - 2; y >= 1; --y)
        if (c.At(x, y) == Red && ThinPixel(c, x, y) == 1) passOneChanged = true;
    sweepChanged = passOneChanged;
    if (firstSweep || passOneChanged) {
      for (int x = w - 2; x >= 1; --x)
        for (int y = h - 2; y >= 1; --y) {
          if (c.At(x, y) != Red) continue;
          int count = 0;
          bool vertical = false, horizontal = false;
          if (c.At(x, y - 1) == Red) ++count, vertical = true;
          if (c.At(x, y + 1) == Red) ++count, vertical = true;
          if (c.At(x - 1, y) == Red) ++count, horizontal = true;
          if (c.At(x + 1, y) == Red) ++count, horizontal = true;
          if (count != 2 || !vertical || !horizontal) continue;
          if (keepLinks && c.At(c.At(x - 1, y) == Red ? x + 1 : x - 1,
                                c.At(x, y - 1) == Red ? y + 1 : y - 1) == Red)
            continue;
          c.Put(x, y, White);
          sweepChanged = true;
          ThinPixel(c, x, c.At(x, y - 1) == Red ? y - 1 : y + 1);
          ThinPixel(c, c.At(x - 1, y) == Red ? x - 1 : x + 1, y);
        }
    }
    firstSweep = false;
  } while (sweepChanged);
}

void ReferenceCleaner::FillGaps(TestCanvas& c) {
  bool previousRed = false;
  for (int x = c.Width() - 2; x >= 1; --x)
    for (int y = c.Height() - 2; y >= 1; --y) {
      const std::uint32_t here = c.At(x, y);
      if (here == Red) {
        previousRed = true;
      } else if (here == White && previousRed) {
        if (c.At(x, y - 1) == Red && c.At(x, y + 1) == Red && c.At(x - 1, y) == Red &&
            c.At(x + 1, y) == Red)
          c.Put(x, y, Red);
        previousRed = false;
      }
    }
}
