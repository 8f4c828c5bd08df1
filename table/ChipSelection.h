#pragma once
// The piece, or the whole group, that the player picked up: a list of its pieces with their
// own picture ("Blue Screen", black transparent) that follows the pointer, where it was
// picked up and where its box lies now. The pixel map points the carried pieces' pixels
// into that picture, so carrying never redraws the table under them. One exists at a time.

#include "puzzle/ChipList.h"
#include "puzzle/PieceCarrier.h"

#include <QRect>

#include <memory>

class MiniTable;
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

  // Lays the pieces down with the pointer at (x, y): with a mini, drawn on it at their new
  // place (the caller hands them over); else on the table, where the last piece in reach of
  // a neighbour snaps to it and the others keep their places beside it. Whether one snapped.
  bool Drop(MiniTable* mini, int x, int y);
  // The carried picture, scaled by the mini's zoom, at the box's place on the mini.
  void DrawOnMini(MiniTable& mini) const;
  // A quarter turn anticlockwise (clockwise) about the box's corner, a half turn when a
  // quarter would not fit the table; a box whose turn would reach the table's far edges
  // first moves inward.
  void RotateLeft();
  void RotateRight();
  // Flashes the snap indicator while some piece would snap where it is carried (the answer),
  // else puts it out; nothing while the indicator is turned off.
  bool UpdateSnapLed() const;
  static void ClearSnapLed();

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
  bool SnapOne();
  void Turn(bool right);
  void MoveInward(QSize turned);
  void PlaceTurned(QPoint origin, QSize turned);

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
