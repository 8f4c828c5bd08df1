#pragma once
// The piece, or the whole group, that the player picked up: a list of its pieces with their
// own picture ("Blue Screen", black transparent) that follows the pointer, where it was
// picked up and where its box lies now. The pixel map points the carried pieces' pixels
// into that picture, so carrying never redraws the table under them. One exists at a time.

#include "puzzle/ChipList.h"
#include "puzzle/PieceCarrier.h"

#include <QRect>

#include <memory>

class Puzzle;
class PuzzleChip;
class TableSurface;
class VirtualBuffer;

class ChipSelection : public ChipList, public PieceCarrier {
public:
  // Takes piece, or its whole group, from the surface's table list at press point (x, y);
  // the pieces stay in that list (the caller takes them out) but are marked selected.
  ChipSelection(PuzzleChip* piece, Puzzle* puzzle, TableSurface* surface, int x, int y);
  ~ChipSelection() override;
  ChipSelection(const ChipSelection&) = delete;
  ChipSelection& operator=(const ChipSelection&) = delete;

  static ChipSelection* Current() { return current_; }

  // The box follows the pointer: kept 1 pixel inside the table when dropping, else within
  // 0 .. table size − picture size − 1.
  void MoveTo(bool dropping, int x, int y);
  // The table part the selection and its shadow cover with the pointer at (x, y).
  QRect GetDragRect(int x, int y) const;
  void SetImagePosition();
  // The carried shadows, then the pieces over them.
  void DrawWithShadow(VirtualBuffer& table) const;

  QPoint PieceTarget(const PuzzleChip& piece) const override;
  QPoint Position() const override { return {x_, y_}; }
  QSize GetSize() const override;

  // The part of the picture the carried pieces show, which repaints bring up to date.
  QRect PictureRect() const { return pictureRect_; }
  QPoint Grab() const { return grab_; }
  QPoint PickUpPosition() const { return pickUp_; }
  QPoint Margin() const { return margin_; }
  int Rotation() const { return rotation_; }
  PuzzleChip* ClickedPiece() const { return clicked_; }
  VirtualBuffer& Image() const { return *image_; }

private:
  void MapPixels(int left, int top);

  static inline ChipSelection* current_ = nullptr;

  QPoint grab_;
  std::unique_ptr<VirtualBuffer> image_;
  Puzzle* puzzle_;
  int x_ = 0;
  int y_ = 0;
  QPoint pickUp_;
  QPoint pictureOrigin_{0x7FFFFFFF, 0x7FFFFFFF};
  TableSurface* surface_;
  int rotation_;
  QPoint margin_{1, 1};
  QRect pictureRect_;
  PuzzleChip* clicked_;
};
