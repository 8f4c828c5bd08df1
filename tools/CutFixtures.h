#pragma once
// What a die or a cut needs around it outside the game, for the developer programs and the
// benchmarks: a picture known only by its size, and a table that only holds the pieces.

#include "puzzle/ChipList.h"
#include "puzzle/PictureSizeSource.h"
#include "puzzle/PuzzleTable.h"

class FixedPicture : public PictureSizeSource {
public:
  explicit FixedPicture(QSize size) : size_(size) {}
  FixedPicture(int width, int height) : size_(width, height) {}
  QSize GetImageSize() override { return size_; }

private:
  QSize size_;
};

// The current table while it lives.
class PieceTable : public PuzzleTable {
public:
  PieceTable() { SetCurrent(this); }
  ~PieceTable() override {
    pieces_.DeleteAll();
    if (Current() == this) SetCurrent(nullptr);
  }
  QSize AvailableArea() const override { return {1920, 1080}; }
  int GetWidth() const override { return 1920; }
  int GetHeight() const override { return 1080; }
  QSize ScreenSize() const override { return {1920, 1080}; }
  void MaximizeMainForm() override {}
  void PlaceMainForm(const QRect&) override {}
  void SwitchToMini(int) override {}
  void DeleteAllPieces() override { pieces_.DeleteAll(); }
  ChipList& GetChipList() override { return pieces_; }
  void SetJoinSoundPending() override {}

private:
  ChipList pieces_;
};
