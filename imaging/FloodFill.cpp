#include "FloodFill.h"

#include <vector>

namespace {

struct Span {
  int left;   // first column of the span to look along
  int right;  // last column
  int y;
};

}  // namespace

void FloodFill::Run(const RasterImage& image, int x, int y, std::uint32_t value) {
  if (!image.Contains(x, y)) return;
  const std::uint32_t old = image.Row(y)[x];
  if (old == value) return;
  std::vector<Span> pending{{x, x, y}};
  while (!pending.empty()) {
    const Span span = pending.back();
    pending.pop_back();
    std::uint32_t* row = image.Row(span.y);
    for (int cx = span.left; cx <= span.right; ++cx) {
      if (row[cx] != old) continue;
      // Grow the run both ways, fill it, and look at the rows above and below it.
      int l = cx, r = cx;
      while (l > 0 && row[l - 1] == old) --l;
      while (r + 1 < image.width && row[r + 1] == old) ++r;
      for (int i = l; i <= r; ++i) row[i] = value;
      if (span.y > 0) pending.push_back({l, r, span.y - 1});
      if (span.y + 1 < image.height) pending.push_back({l, r, span.y + 1});
      cx = r;
    }
  }
}
