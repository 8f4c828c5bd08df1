#pragma once
// Where every picture pixel is drawn now: one 32-bit cell per picture pixel holding the
// pixel's index in the table buffer (rows bottom-up), or, while its piece is carried, its
// index in the selection's image, plus a mark bit for pixels hidden under another piece.
// Drawing the table walks these cells instead of the pieces, so moving a piece rewrites only
// its own cells. One pixel map is current at a time.

#include "Yelk/CurrentInstance.h"

#include <QPoint>

#include <cstdint>
#include <memory>

class ChipGroup;
class ChipList;
class PageBlock;
class PuzzleChip;
class PuzzleTable;
class VirtualBuffer;

class PixelMap : public CurrentInstance<PixelMap> {
public:
  static constexpr std::uint32_t IndexBits = 0x00FFFFFF;
  static constexpr std::uint32_t SelectionBit = 0x01000000;
  static constexpr std::uint32_t MarkBit = 0x02000000;
  // The index of a pixel that falls outside its target buffer; drawing skips it.
  static constexpr std::uint32_t OutsideIndex = 0x00FFFFFF;

  // All cells 0; becomes the current pixel map. surface: the table the cells point into.
  PixelMap(int width, int height, PuzzleTable* surface);
  // Stops being the current pixel map.
  ~PixelMap();
  PixelMap(const PixelMap&) = delete;
  PixelMap& operator=(const PixelMap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return cells_ == nullptr; }
  // Row y (from the top) of the cells; only for 0 <= y < Height().
  std::uint32_t* Row(int y) const { return cells_ + std::ptrdiff_t(y) * width_; }
  PuzzleTable* Surface() const { return surface_; }

  // Turns the piece's mask to rotation and points its cells at the table with the box's
  // top-left at position (clamped into the table for the cells only). Unless skipMarks is
  // set, the top-most piece overlapping it at each pixel gets that pixel marked.
  void PlaceChip(PuzzleChip& piece, QPoint position, bool skipMarks, int rotation);
  // Hides the whole piece; the piece below it at each pixel comes back there.
  void MarkChip(const PuzzleChip& piece);
  void MarkGroup(const ChipList& list, const ChipGroup* group);
  // Shows the whole piece, hiding the pieces it now covers; whether any cell was marked.
  bool ClearMarks(const PuzzleChip& piece);
  // Hides the piece wherever a lower piece covers it (which shows there); whether any was.
  bool MarkCovering(const PuzzleChip& piece);
  // Points the cells of the selection's pieces into its image, whose top-left lies at
  // (left, top) on the table; the pieces below them show again.
  void MarkSelection(const ChipList& selection, const VirtualBuffer& image, int left, int top);

  // The cell of picture pixel (x, y); null outside the picture.
  std::uint32_t* Cell(int x, int y) const;

private:
  std::unique_ptr<PageBlock> block_;
  std::uint32_t* cells_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  PuzzleTable* surface_;
};
