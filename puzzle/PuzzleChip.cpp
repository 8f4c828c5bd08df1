#include "PuzzleChip.h"

#include "BevelFilter.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "PixelMap.h"
#include "PuzzleTable.h"

namespace {

int nextId = 0;
bool joining = false;  // JoinSide is joining the other piece back

}  // namespace

PuzzleChip::PuzzleChip(std::unique_ptr<ChipMask> mask, int edgeClass, BevelFilter* bevel,
                       bool makeOutline)
    : mask_(std::move(mask)), edgeClass_(edgeClass), id_(nextId++) {
  BevelFilter::SetCurrent(bevel);
  if (makeOutline) BuildOutline();
  if (PuzzleTable* table = PuzzleTable::Current()) table->GetChipList().Add(this);
}

PuzzleChip::~PuzzleChip() { nextId = 0; }

ChipList& PuzzleChip::CapturedList() {
  static ChipList captured;
  return captured;
}

void PuzzleChip::LinkRight(PuzzleChip* other) {
  neighbours_[int(ChipSide::Right)] = other;
  other->neighbours_[int(ChipSide::Left)] = this;
}

void PuzzleChip::LinkBelow(PuzzleChip* other) {
  neighbours_[int(ChipSide::Down)] = other;
  other->neighbours_[int(ChipSide::Up)] = this;
}

void PuzzleChip::JoinBorderSides() {
  for (int side = 0; side < 4; ++side)
    if (!neighbours_[side]) joined_[side] = true;
}

bool PuzzleChip::JoinSide(PuzzleChip* other) {
  for (int side = 0; side < 4; ++side)
    if (other && neighbours_[side] == other) joined_[side] = true;
  if (AllSidesJoined()) outline_ = {};
  if (joining || !other) return false;
  joining = true;
  other->JoinSide(this);
  PixelMap* map = PixelMap::Current();
  const bool cleared = !other->selected_ && map && map->ClearMarks(*other);
  joining = false;
  return cleared;
}

bool PuzzleChip::AllSidesJoined() const {
  // The sides that face right and down on the table, clockwise turns of the cut sides.
  static constexpr ChipSide facing[4][2] = {{ChipSide::Right, ChipSide::Down},
                                            {ChipSide::Up, ChipSide::Right},
                                            {ChipSide::Left, ChipSide::Up},
                                            {ChipSide::Down, ChipSide::Left}};
  const int turn = mask_->Rotation() / 90;
  const ChipSide* sides = facing[turn >= 0 && turn < 4 && mask_->Rotation() % 90 == 0 ? turn : 0];
  if (!Neighbour(sides[0]) || !Neighbour(sides[1])) return false;
  return joined_[0] && joined_[1] && joined_[2] && joined_[3];
}

void PuzzleChip::RebuildShading() {
  if (AllSidesJoined())
    outline_ = {};
  else
    BuildOutline();
  if (BevelFilter* bevel = BevelFilter::Current()) mask_->BuildBevel(*bevel);
}

void PuzzleChip::BuildOutline() { outline_ = mask_->BuildOutline(OutlineCap, OutlineReach); }
