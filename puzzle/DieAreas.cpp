#include "DieAreas.h"

#include "DieColours.h"
#include "imaging/VirtualBuffer.h"

#include <algorithm>
#include <bit>
#include <climits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Word = std::uint64_t;

// Bit i set when pixel x + i is area, for the up to 64 pixels from x on.
Word AreaBits(const std::uint32_t* pixels, int x, int width) {
  Word word = 0;
  int i = 0;
#if defined(__SSE2__)
  if (x + 64 <= width) {
    const __m128i area = _mm_set1_epi32(int(DieColour::Area));
    for (; i < 64; i += 4) {
      const __m128i same = _mm_cmpeq_epi32(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + i)), area);
      word |= Word(unsigned(_mm_movemask_ps(_mm_castsi128_ps(same)))) << i;
    }
  }
#endif
  for (; i < 64 && x + i < width; ++i)
    if (pixels[x + i] == DieColour::Area) word |= Word(1) << i;
  return word;
}

}  // namespace

DieAreas::DieAreas(const VirtualBuffer& die)
    : width_(die.IsEmpty() ? 0 : die.width), height_(die.IsEmpty() ? 0 : die.height) {
  rowStart_.reserve(std::size_t(height_) + 1);
  // Room for many runs a row: only the part used is ever touched.
  runs_.reserve(std::size_t(height_) * 128);
  rowStart_.push_back(0);
  for (int y = 0; y < height_; ++y) {
    ScanRow(die.Row(y));
    rowStart_.push_back(runs_.size());
    LabelRow(y);
  }
  Relabel();
}

// A run starts and ends where a pixel differs from the one before it (the one before the
// row counts as line).
void DieAreas::ScanRow(const std::uint32_t* pixels) {
  Word before = 0;  // the last pixel of the previous word, as bit 0
  int start = 0;
  bool inRun = false;
  for (int x = 0; x < width_; x += 64) {
    const Word word = AreaBits(pixels, x, width_);
    for (Word changes = word ^ (word << 1 | before); changes; changes &= changes - 1) {
      const int at = x + std::countr_zero(changes);
      if (inRun) runs_.push_back({start, at - 1, -1});
      start = at;
      inRun = !inRun;
    }
    before = word >> 63;
  }
  if (inRun) runs_.push_back({start, width_ - 1, -1});
}

// Runs of neighbouring rows that share a column are one area: a run takes the label of the
// first run above it that it touches, joins the labels of the others, and starts a label of
// its own when it touches none.
void DieAreas::LabelRow(int y) {
  std::size_t above = y > 0 ? rowStart_[y - 1] : 0, aboveEnd = y > 0 ? rowStart_[y] : 0;
  for (std::size_t here = rowStart_[y]; here < rowStart_[y + 1]; ++here) {
    Run& run = runs_[here];
    while (above < aboveEnd && runs_[above].last < run.first) ++above;
    for (std::size_t a = above; a < aboveEnd && runs_[a].first <= run.last; ++a) {
      const int other = Root(runs_[a].area);
      if (run.area < 0) {
        run.area = other;
        continue;
      }
      const int one = Root(run.area);
      if (one != other) parent_[std::size_t(std::max(one, other))] = std::min(one, other);
    }
    if (run.area < 0) {
      run.area = std::int32_t(parent_.size());
      parent_.push_back(run.area);
    }
  }
}

int DieAreas::Root(int label) {
  while (parent_[std::size_t(label)] != label) {
    const int up = parent_[std::size_t(label)];
    parent_[std::size_t(label)] = parent_[std::size_t(up)];
    label = up;
  }
  return label;
}

// Provisional labels become area numbers 0, 1, 2, ... with their bounds.
void DieAreas::Relabel() {
  // A root is never above its members, so it is numbered before them.
  std::vector<std::int32_t> number(parent_.size());
  int areas = 0;
  for (std::size_t label = 0; label < parent_.size(); ++label) {
    const auto root = std::size_t(Root(int(label)));
    number[label] = root == label ? areas++ : number[root];
  }
  struct Box {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  };
  std::vector<Box> boxes(static_cast<std::size_t>(areas));
  for (int y = 0; y < height_; ++y)
    for (std::size_t i = rowStart_[y]; i < rowStart_[y + 1]; ++i) {
      Run& run = runs_[i];
      run.area = number[std::size_t(run.area)];
      Box& box = boxes[std::size_t(run.area)];
      box.left = std::min(box.left, run.first);
      box.right = std::max(box.right, run.last);
      box.top = std::min(box.top, y);
      box.bottom = y;
    }
  bounds_.reserve(boxes.size());
  for (const Box& box : boxes) bounds_.emplace_back(QPoint(box.left, box.top), QPoint(box.right, box.bottom));
  parent_ = {};
}

int DieAreas::AreaAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  const std::span<const Run> row = RowRuns(y);
  const auto run = std::partition_point(row.begin(), row.end(),
                                        [x](const Run& each) { return each.last < x; });
  return run == row.end() || run->first > x ? -1 : run->area;
}
