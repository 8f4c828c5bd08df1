#include "DieCleaner.h"

#include <utility>

DieCleaner::DieCleaner(PixelCanvas& canvas) : canvas_(canvas), step_(canvas.RowStep()) {}

void DieCleaner::CollectLinePixels() {
  const int width = canvas_.Width(), height = canvas_.Height();
  columnStart_.assign(width, 0);
  columnCount_.assign(width, 0);
  rows_.clear();
  if (width < 3 || height < 3) return;

  // Row by row first (the memory order), then sorted into columns by counting.
  std::vector<std::pair<int, int>> found;
  found.reserve(std::size_t(width + height) * 8);
  for (int y = 1; y <= height - 2; ++y) {
    const std::uint32_t* row = canvas_.Row(y);
    int x = 1;
    while (x <= width - 2) {
      if (x + 16 <= width - 1) {
        std::uint32_t differs = 0;
        for (int k = 0; k < 16; ++k) differs |= row[x + k] ^ AreaColour;
        if (differs == 0) {
          x += 16;
          continue;
        }
      }
      if (row[x] == LineColour) {
        found.emplace_back(x, y);
        ++columnCount_[x];
      }
      ++x;
    }
  }
  int start = 0;
  for (int x = 0; x < width; ++x) {
    columnStart_[x] = start;
    start += columnCount_[x];
  }
  rows_.resize(found.size());
  std::vector<int> next(columnStart_);
  for (const auto& [x, y] : found) rows_[next[x]++] = y;
}

void DieCleaner::Thin() {
  CollectLinePixels();
  bool firstSweep = true;
  for (;;) {
    bool changed = ThinningPass();
    if (firstSweep || changed) changed = CornerPass() || changed;
    firstSweep = false;
    if (!changed) break;
    DropErasedPixels();
  }
}

bool DieCleaner::ThinningPass() {
  bool changed = false;
  for (int x = canvas_.Width() - 2; x >= 1; --x) {
    const int first = columnStart_[x];
    for (int k = first + columnCount_[x] - 1; k >= first; --k) {
      const int y = rows_[k];
      if (canvas_.Row(y)[x] == LineColour && ThinPixel(x, y)) changed = true;
    }
  }
  return changed;
}

// A line pixel with exactly two line neighbours, one above or below and one beside, is the
// inner corner of an L: removing it keeps the line connected diagonally.
bool DieCleaner::CornerPass() {
  bool changed = false;
  for (int x = canvas_.Width() - 2; x >= 1; --x) {
    const int first = columnStart_[x];
    for (int k = first + columnCount_[x] - 1; k >= first; --k) {
      const int y = rows_[k];
      std::uint32_t* pixel = canvas_.Row(y) + x;
      if (*pixel != LineColour) continue;
      const bool up = pixel[-step_] == LineColour, down = pixel[step_] == LineColour;
      const bool left = pixel[-1] == LineColour, right = pixel[1] == LineColour;
      if (up + down + left + right != 2 || !(up || down) || !(left || right)) continue;
      *pixel = AreaColour;
      changed = true;
      ThinPixel(x, up ? y - 1 : y + 1);
      ThinPixel(left ? x - 1 : x + 1, y);
    }
  }
  return changed;
}

void DieCleaner::DropErasedPixels() {
  for (int x = 1; x <= canvas_.Width() - 2; ++x) {
    const int first = columnStart_[x];
    int kept = first;
    for (int k = first; k < first + columnCount_[x]; ++k)
      if (canvas_.Row(rows_[k])[x] == LineColour) rows_[kept++] = rows_[k];
    columnCount_[x] = kept - first;
  }
}

// Walks the eight neighbours as an open ring, starting left and turning through below; a
// pixel whose ring changes value fewer than three times ends a line or sits on its flank, and
// is erased.
bool DieCleaner::ThinPixel(int x, int y) {
  if (x < 1 || y < 1 || x > canvas_.Width() - 2 || y > canvas_.Height() - 2)
    return ThinBorderPixel(x, y);
  std::uint32_t* pixel = canvas_.Row(y) + x;
  const std::uint32_t* below = pixel + step_;
  const std::uint32_t* above = pixel - step_;
  const std::uint32_t ring[8] = {pixel[-1], below[-1], below[0], below[1],
                                 pixel[1],  above[1],  above[0], above[-1]};
  int changes = 0;
  for (int i = 0; i < 7; ++i) changes += ring[i] != ring[i + 1];
  if (changes >= 3) return false;
  *pixel = AreaColour;
  return true;
}

// The same for a pixel on the picture's edge, whose outside neighbours read as 0.
bool DieCleaner::ThinBorderPixel(int x, int y) {
  const std::uint32_t ring[8] = {canvas_.Pixel(x - 1, y),     canvas_.Pixel(x - 1, y + 1),
                                 canvas_.Pixel(x, y + 1),     canvas_.Pixel(x + 1, y + 1),
                                 canvas_.Pixel(x + 1, y),     canvas_.Pixel(x + 1, y - 1),
                                 canvas_.Pixel(x, y - 1),     canvas_.Pixel(x - 1, y - 1)};
  int changes = 0;
  for (int i = 0; i < 7; ++i) changes += ring[i] != ring[i + 1];
  if (changes >= 3) return false;
  const std::uint32_t pen = canvas_.PenColor();
  canvas_.SetPenColor(AreaColour);
  canvas_.SetPixel(x, y);
  canvas_.SetPenColor(pen);
  return true;
}

bool DieCleaner::FillsGap(int x, int y) const {
  const std::uint32_t* pixel = canvas_.Row(y) + x;
  return *pixel == AreaColour && pixel[-step_] == LineColour && pixel[step_] == LineColour &&
         pixel[-1] == LineColour && pixel[1] == LineColour;
}

// A scan in the same order as the thinning paints an area pixel enclosed by line on all four
// sides, but only right after a line pixel of the scan (a painted pixel does not count as
// one). Only such a pixel can qualify: the one just above a line pixel, or the first of a
// column when the last pixel of the column before was line.
void DieCleaner::FillGaps() {
  const int width = canvas_.Width(), height = canvas_.Height();
  if (width < 3 || height < 3) return;
  if (int(columnStart_.size()) != width) CollectLinePixels();
  bool lastOfColumnWasLine = false;
  for (int x = width - 2; x >= 1; --x) {
    const bool lastWasLine = IsLine(x, 1);
    if (lastOfColumnWasLine && FillsGap(x, height - 2)) canvas_.Row(height - 2)[x] = LineColour;
    const int first = columnStart_[x];
    for (int k = first + columnCount_[x] - 1; k >= first; --k) {
      const int y = rows_[k] - 1;
      if (y >= 1 && FillsGap(x, y)) canvas_.Row(y)[x] = LineColour;
    }
    lastOfColumnWasLine = lastWasLine;
  }
}
