// Joining pieces into groups and snapping a carried piece to its neighbour.

#include "ChipGroup.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "MiniHost.h"
#include "PieceCarrier.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "settings/ProgSettings.h"

#include <cstdlib>

namespace {

// Calls visit(list) for every list a piece can lie in: the main table, each mini table and
// the captured list (the selection's pieces lie on the main table as well).
template <class Visit>
void ForEachPieceList(Visit visit) {
  if (PuzzleTable* table = PuzzleTable::Current()) visit(table->GetChipList());
  if (MiniHost* minis = MiniHost::Current())
    for (int i = 0; i < minis->MiniCount(); ++i) visit(minis->MiniChips(i));
  visit(PuzzleChip::CapturedList());
}

bool OnMainTable(const PuzzleChip* piece) {
  PuzzleTable* table = PuzzleTable::Current();
  return table && table->GetChipList().Contains(piece);
}

}  // namespace

void PuzzleChip::Merge(PuzzleChip* other) {
  if (!other || other == this) return;
  if (!group_) group_ = new ChipGroup();
  ChipGroup* const mine = group_;
  ChipGroup* const theirs = other->group_;
  if (theirs == mine) {
    JoinSide(other);
    return;
  }
  if (!theirs) {
    JoinSide(other);
    other->group_ = mine;
    for (PuzzleChip* n : other->neighbours_)
      if (n && n->group_ == mine) other->JoinSide(n);
    return;
  }
  if (PuzzleTable* table = PuzzleTable::Current()) {
    ChipList& list = table->GetChipList();
    for (int i = list.Count() - 1; i >= 0; --i) {
      PuzzleChip* p = list.At(i);
      if (p->group_ != theirs) continue;
      for (PuzzleChip* n : p->neighbours_)
        if (n && n->group_ == mine) p->JoinSide(n);
    }
  }
  // Every piece of the old group, wherever it lies, moves over before the group goes.
  ForEachPieceList([&](ChipList& list) {
    for (int i = 0; i < list.Count(); ++i)
      if (list.At(i)->group_ == theirs) list.At(i)->group_ = mine;
  });
  delete theirs;
}

void PuzzleChip::RestoreJoinedSides() {
  PuzzleTable* table = PuzzleTable::Current();
  MiniHost* minis = MiniHost::Current();
  const int miniCount = minis ? minis->MiniCount() : 0;
  const int active = minis ? minis->ActiveMiniIndex() : -1;
  auto restore = [](ChipList& list) {
    for (int i = 0; i < list.Count(); ++i) {
      PuzzleChip* p = list.At(i);
      for (int side = 0; p->group_ && side < 4; ++side)
        if (p->neighbours_[side] && p->neighbours_[side]->group_ == p->group_)
          p->joined_[side] = true;
    }
  };
  for (int i = miniCount - 1; i >= 0; --i) {
    if (i != active)
      restore(minis->MiniChips(i));
    else if (table)
      restore(table->GetChipList());
  }
  if (table && (active < 0 || active >= miniCount)) restore(table->GetChipList());
}

bool PuzzleChip::Snap(PuzzleChip* b, const PieceCarrier* selection, bool commit) {
  const QPoint a = commit || !selection ? QPoint(tableX_, tableY_) : selection->PieceTarget(*this);
  const int distance = Settings()->SnapDistance;
  int side = 0;
  while (side < 4 && neighbours_[side] != b) ++side;
  if (!b || side == 4 || b->mask_->Rotation() != mask_->Rotation()) return false;
  const ChipMask& am = *mask_;
  const ChipMask& bm = *b->mask_;
  const int aLeft = am.MinX(), aTop = am.FirstRow(), aRight = aLeft + am.Width(),
            aBottom = aTop + am.Height();
  const int bLeft = bm.MinX(), bTop = bm.FirstRow(), bRight = bLeft + bm.Width(),
            bBottom = bTop + bm.Height();
  QPoint expected(bLeft - aLeft, bTop - aTop);
  switch (am.Rotation()) {
    case 90: expected = {aBottom - bBottom, bLeft - aLeft}; break;
    case 180: expected = {aRight - bRight, aBottom - bBottom}; break;
    case 270: expected = {bTop - aTop, aRight - bRight}; break;
    default: break;
  }
  const QPoint correction = QPoint(b->tableX_, b->tableY_) - a - expected;
  if (std::abs(correction.x()) > distance || std::abs(correction.y()) > distance) return false;
  const QPoint snapped = a + correction;
  if (!SnapRoom(selection, commit ? correction : correction + QPoint(1, 1), snapped)) return false;
  if (!OnMainTable(b)) return false;
  if (!commit) return true;
  Place(-1, false, true, false, snapped.x(), snapped.y());
  Merge(b);
  if (PuzzleTable* table = PuzzleTable::Current()) table->SetJoinSoundPending();
  return true;
}

// shift: the correction, plus one pixel each way during the drag, where the box origin lies
// one pixel right of and below the selection's stored position.
bool PuzzleChip::SnapRoom(const PieceCarrier* selection, QPoint shift, QPoint snapped) const {
  PuzzleTable* table = PuzzleTable::Current();
  if (!table) return false;
  const int w = table->GetWidth(), h = table->GetHeight();
  if (group_ && selection) {
    const QPoint box = selection->Position() + shift;
    const QSize size = selection->GetSize();
    return box.x() >= 1 && box.x() <= w - size.width() && box.y() >= 1 &&
           box.y() <= h - size.height();
  }
  return snapped.x() >= 1 && snapped.x() <= w - mask_->TableWidth() && snapped.y() >= 1 &&
         snapped.y() <= h - mask_->TableHeight();
}

bool PuzzleChip::CanSnapAny(const PieceCarrier* selection, bool commit) {
  for (ChipSide side : {ChipSide::Left, ChipSide::Right, ChipSide::Up, ChipSide::Down}) {
    PuzzleChip* n = Neighbour(side);
    if (n && !IsJoined(side) && Snap(n, selection, commit)) return true;
  }
  return false;
}
