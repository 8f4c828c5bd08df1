#include "PixelMap.h"

#include "ChipGroup.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "QuarterTurn.h"
#include "imaging/VirtualBuffer.h"
#include "platform/PageBlock.h"

#include <algorithm>

namespace {

// Calls visit(pictureX, pictureY, tx, ty) for every pixel of the piece lying with its box at
// (x, y), in mask order.
template <class Visit>
void ForEachPixel(const PuzzleChip& piece, int x, int y, Visit visit) {
  const ChipMask& mask = piece.Mask();
  const QuarterTurn turn{mask.Rotation(), mask.Width(), mask.Height()};
  mask.ForEachRun([&](int py, int first, int last) {
    for (int px = first; px <= last; ++px) {
      const QPoint at = turn.ToTable(px - mask.MinX(), py - mask.FirstRow());
      visit(px, py, x + at.x(), y + at.y());
    }
  });
}

template <class Visit>
void ForEachPixel(const PuzzleChip& piece, Visit visit) {
  ForEachPixel(piece, piece.TableX(), piece.TableY(), visit);
}

// Index of table point (tx, ty) in a bottom-up buffer of width x height, or the outside
// index when the point or its index does not fit.
std::uint32_t BufferIndex(int tx, int ty, int width, int height) {
  if (tx < 0 || ty < 0 || tx >= width || ty >= height) return PixelMap::OutsideIndex;
  const std::int64_t index = std::int64_t(height - 1 - ty) * width + tx;
  return index < std::int64_t(PixelMap::OutsideIndex) ? std::uint32_t(index)
                                                      : PixelMap::OutsideIndex;
}

// How the buffer index moves per picture pixel to the right, for each turn.
std::int64_t IndexStep(int rotation, int tableWidth) {
  switch (rotation) {
    case 90: return -std::int64_t(tableWidth);
    case 180: return -1;
    case 270: return tableWidth;
    default: return 1;
  }
}

}  // namespace

// Fresh zero-filled pages: every cell starts 0 without a pass over the memory.
PixelMap::PixelMap(int width, int height, PuzzleTable* surface) : surface_(surface) {
  SetCurrent(this);
  if (width < 1 || height < 1) return;
  block_ = std::make_unique<PageBlock>(std::size_t(width) * std::size_t(height) * 4);
  if (block_->IsEmpty()) return;
  cells_ = static_cast<std::uint32_t*>(block_->Data());
  width_ = width;
  height_ = height;
}

PixelMap::~PixelMap() = default;

std::uint32_t* PixelMap::Cell(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return nullptr;
  return Row(y) + x;
}

void PixelMap::PlaceChip(PuzzleChip& piece, QPoint position, bool skipMarks, int rotation) {
  ChipMask& mask = piece.Mask();
  mask.SetRotation(rotation);
  const int tableW = surface_ ? surface_->GetWidth() : 0;
  const int tableH = surface_ ? surface_->GetHeight() : 0;
  // A piece larger than the table lies at 0; its cells beyond the table point nowhere.
  const int x = std::max(0, std::min(position.x(), tableW - mask.TableWidth()));
  const int y = std::max(0, std::min(position.y(), tableH - mask.TableHeight()));
  std::unique_ptr<ChipList> overlaps;
  if (!skipMarks) {
    if (PuzzleTable* table = surface_) overlaps = table->GetChipList().OverlapList(&piece, false);
  }
  const QuarterTurn turn{mask.Rotation(), mask.Width(), mask.Height()};
  const std::int64_t step = IndexStep(mask.Rotation(), tableW);
  const bool indexesFit = std::int64_t(tableW) * tableH <= std::int64_t(OutsideIndex);
  mask.ForEachRun([&](int py, int first, int last) {
    std::uint32_t* cell = Cell(first, py);
    if (!cell || last >= width_) return;
    const int ly = py - mask.FirstRow();
    const QPoint a = turn.ToTable(first - mask.MinX(), ly);
    const QPoint b = turn.ToTable(last - mask.MinX(), ly);
    const bool inside = indexesFit && std::min(a.x(), b.x()) + x >= 0 &&
                        std::max(a.x(), b.x()) + x < tableW && std::min(a.y(), b.y()) + y >= 0 &&
                        std::max(a.y(), b.y()) + y < tableH;
    if (inside) {
      std::int64_t index = BufferIndex(x + a.x(), y + a.y(), tableW, tableH);
      for (int px = first; px <= last; ++px, index += step) *cell++ = std::uint32_t(index);
    } else {
      for (int px = first; px <= last; ++px) {
        const QPoint at = turn.ToTable(px - mask.MinX(), ly);
        *cell++ = BufferIndex(x + at.x(), y + at.y(), tableW, tableH);
      }
    }
  });
  if (!overlaps || overlaps->IsEmpty()) return;
  ForEachPixel(piece, x, y, [&](int, int, int tx, int ty) {
    overlaps->FindMarkedAt(nullptr, tx, ty);
  });
}

void PixelMap::MarkChip(const PuzzleChip& piece) {
  std::unique_ptr<ChipList> overlaps;
  if (surface_) overlaps = surface_->GetChipList().OverlapList(&piece, true);
  ForEachPixel(piece, [&](int px, int py, int tx, int ty) {
    if (std::uint32_t* cell = Cell(px, py)) *cell |= MarkBit;
    if (overlaps) overlaps->UnmarkBelow(&piece, tx, ty);
  });
}

void PixelMap::MarkGroup(const ChipList& list, const ChipGroup* group) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i)->Group() == group) MarkChip(*list.At(i));
}

bool PixelMap::ClearMarks(const PuzzleChip& piece) {
  std::unique_ptr<ChipList> overlaps;
  if (surface_) overlaps = surface_->GetChipList().OverlapList(&piece, true);
  if (overlaps && piece.Group()) {
    for (int i = overlaps->Count() - 1; i >= 0; --i)
      if (overlaps->At(i) != &piece && overlaps->At(i)->Group() == piece.Group())
        overlaps->RemoveAt(i);
  }
  bool hadMarks = false;
  ForEachPixel(piece, [&](int px, int py, int tx, int ty) {
    if (overlaps) overlaps->FindMarkedAt(&piece, tx, ty);
    if (std::uint32_t* cell = Cell(px, py)) {
      hadMarks = hadMarks || (*cell & MarkBit);
      *cell &= ~MarkBit;
    }
  });
  return hadMarks;
}

bool PixelMap::MarkCovering(const PuzzleChip& piece) {
  std::unique_ptr<ChipList> overlaps;
  if (surface_) overlaps = surface_->GetChipList().OverlapList(&piece, true);
  if (!overlaps) return false;
  bool covered = false;
  ForEachPixel(piece, [&](int px, int py, int tx, int ty) {
    if (!overlaps->UnmarkBelow(&piece, tx, ty)) return;
    if (std::uint32_t* cell = Cell(px, py)) *cell |= MarkBit;
    covered = true;
  });
  return covered;
}

void PixelMap::MarkSelection(const ChipList& selection, const VirtualBuffer& image, int left,
                             int top) {
  for (int i = selection.Count() - 1; i >= 0; --i) {
    const PuzzleChip& piece = *selection.At(i);
    std::unique_ptr<ChipList> below;
    if (surface_) below = surface_->GetChipList().OverlapList(&piece, true);
    ForEachPixel(piece, [&](int px, int py, int tx, int ty) {
      if (below) below->UnmarkBelow(&piece, tx, ty);
      if (std::uint32_t* cell = Cell(px, py))
        *cell = BufferIndex(tx - left, ty - top, image.width, image.height) | SelectionBit;
    });
  }
}
