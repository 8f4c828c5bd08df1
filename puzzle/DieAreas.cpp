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

// One bit per pixel of the row, set for area pixels; the bits past the row's end are clear.
void MarkAreaPixels(const std::uint32_t* pixels, int width, std::vector<Word>& bits) {
  bits.assign((std::size_t(width) + 63) / 64, 0);
  int x = 0;
#if defined(__SSE2__)
  const __m128i area = _mm_set1_epi32(int(DieColour::Area));
  for (; x + 64 <= width; x += 64) {
    Word word = 0;
    for (int i = 0; i < 16; ++i) {
      const __m128i same = _mm_cmpeq_epi32(
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x + 4 * i)), area);
      word |= Word(unsigned(_mm_movemask_ps(_mm_castsi128_ps(same)))) << (4 * i);
    }
    bits[std::size_t(x) >> 6] = word;
  }
#endif
  for (; x < width; ++x)
    if (pixels[x] == DieColour::Area) bits[std::size_t(x) >> 6] |= Word(1) << (x & 63);
}

// The first x at or after `from` whose bit is `set`; bits.size() * 64 when there is none.
int FindBit(const std::vector<Word>& bits, int from, bool set) {
  std::size_t index = std::size_t(from) >> 6;
  if (index >= bits.size()) return int(bits.size() * 64);
  const Word flip = set ? 0 : ~Word(0);
  Word word = (bits[index] ^ flip) & (~Word(0) << (from & 63));
  while (!word) {
    if (++index == bits.size()) return int(bits.size() * 64);
    word = bits[index] ^ flip;
  }
  return int(index * 64) + std::countr_zero(word);
}

}  // namespace

DieAreas::DieAreas(const VirtualBuffer& die)
    : width_(die.IsEmpty() ? 0 : die.width), height_(die.IsEmpty() ? 0 : die.height) {
  rowStart_.reserve(std::size_t(height_) + 1);
  // A guess that spares most regrowing: a few dozen runs a row.
  runs_.reserve(std::size_t(height_) * 32);
  rowStart_.push_back(0);
  for (int y = 0; y < height_; ++y) {
    ScanRow(die.Row(y));
    rowStart_.push_back(runs_.size());
    LabelRow(y);
  }
  Relabel();
}

void DieAreas::ScanRow(const std::uint32_t* pixels) {
  MarkAreaPixels(pixels, width_, bits_);
  int x = 0;
  while (true) {
    x = FindBit(bits_, x, true);
    if (x >= width_) break;
    const int end = std::min(FindBit(bits_, x, false), width_);
    runs_.push_back({x, end - 1, -1});
    x = end;
  }
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
