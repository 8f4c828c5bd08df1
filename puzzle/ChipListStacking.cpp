// The piece list's table queries, the stacking order and drawing a group onto a mini table.

#include "ChipGroup.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "MiniTable.h"
#include "PixelMap.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"
#include "imaging/VirtualBuffer.h"

#include <algorithm>
#include <cmath>

namespace {

int GroupIdOf(const PuzzleChip* piece) { return piece->Group() ? piece->Group()->Id() : 0; }

bool ClearMarksOf(const PuzzleChip& piece) {
  PixelMap* map = PixelMap::Current();
  return map && map->ClearMarks(piece);
}

bool MarkCoveringOf(const PuzzleChip& piece) {
  PixelMap* map = PixelMap::Current();
  return map && map->MarkCovering(piece);
}

int Scaled(int value, double zoom) { return int(std::trunc(value * zoom + 0.5)); }

}  // namespace

PuzzleChip* ChipList::HitTest(int x, int y) const {
  for (PuzzleChip* piece : items_)
    if (piece->Mask().ContainsPt(piece->TableX(), piece->TableY(), x, y)) return piece;
  return nullptr;
}

PuzzleChip* ChipList::FindMarkedAt(const PuzzleChip* stopAt, int x, int y) const {
  for (PuzzleChip* piece : items_) {
    if (piece == stopAt) return nullptr;
    int px, py;
    if (!piece->Mask().FindPicturePixel(piece->TableX(), piece->TableY(), x, y, px, py)) continue;
    if (PixelMap* map = PixelMap::Current())
      if (std::uint32_t* cell = map->Cell(px, py)) *cell |= PixelMap::MarkBit;
    return piece;
  }
  return nullptr;
}

PuzzleChip* ChipList::UnmarkBelow(const PuzzleChip* piece, int x, int y) const {
  bool passed = false;
  for (PuzzleChip* other : items_) {
    if (other == piece) {
      passed = true;
      continue;
    }
    int px, py;
    if (!other->Mask().FindPicturePixel(other->TableX(), other->TableY(), x, y, px, py)) continue;
    if (!passed) return nullptr;
    if (PixelMap* map = PixelMap::Current())
      if (std::uint32_t* cell = map->Cell(px, py)) *cell &= ~PixelMap::MarkBit;
    return other;
  }
  return nullptr;
}

std::unique_ptr<ChipList> ChipList::OverlapList(const PuzzleChip* piece, bool includeSelf) const {
  auto list = std::make_unique<ChipList>(std::max(Count(), 1));
  for (PuzzleChip* other : items_) {
    if (other == piece ? includeSelf : !other->IsSelected() && piece->Overlaps(*other))
      list->items_.push_back(other);
  }
  list->Trim();
  return list;
}

void ChipList::GroupMembers(int id) {
  items_.clear();
  PuzzleTable* table = PuzzleTable::Current();
  if (!table || id == 0) return;
  const std::vector<PuzzleChip*>& all = table->GetChipList().items_;
  auto first = std::find_if(all.begin(), all.end(), [id](auto* p) { return GroupIdOf(p) == id; });
  auto last = std::find_if(first, all.end(), [id](auto* p) { return GroupIdOf(p) != id; });
  items_.assign(first, last);
  capacity_ = std::max(capacity_, Count());
}

QRect ChipList::GroupBounds(int id) const {
  QRect box;
  bool inRun = false;
  for (auto it = items_.rbegin(); id != 0 && it != items_.rend(); ++it) {
    const PuzzleChip* piece = *it;
    if (GroupIdOf(piece) != id) {
      if (inRun) break;
      continue;
    }
    inRun = true;
    box |= QRect(piece->TableX(), piece->TableY(), piece->Mask().TableWidth(),
                 piece->Mask().TableHeight());
  }
  return inRun ? box : QRect(QPoint(0, 0), QPoint(0, 0));
}

QRect ChipList::GroupPictureBounds(int id) const {
  QRect box;
  bool inRun = false;
  for (auto it = items_.rbegin(); id != 0 && it != items_.rend(); ++it) {
    const ChipMask& mask = (*it)->Mask();
    if (GroupIdOf(*it) != id) {
      if (inRun) break;
      continue;
    }
    inRun = true;
    box |= QRect(mask.MinX(), mask.FirstRow(), mask.Width(), mask.Height());
  }
  return inRun ? box : QRect(QPoint(0, 0), QPoint(0, 0));
}

bool ChipList::BringGroupToFront(int id, bool clearMarks) {
  if (items_.empty() || GroupIdOf(items_.front()) == id) return false;
  ChipList members(Count());
  members.GroupMembers(id);
  if (members.Count() == Count()) return false;
  bool hadMarks = false;
  if (clearMarks)
    for (const PuzzleChip* piece : members.items_) hadMarks = ClearMarksOf(*piece) || hadMarks;
  RemoveAll(members);
  items_.insert(items_.begin(), members.items_.begin(), members.items_.end());
  return hadMarks;
}

void ChipList::BringToFront(PuzzleChip* piece) {
  if (Count() < 2) return;
  if (piece->Group())
    BringGroupToFront(piece->Group()->Id(), true);
  else if (ClearMarksOf(*piece))
    MoveToFront(piece);
}

void ChipList::BottomToTop() {
  if (Count() < 2) return;
  const std::vector<PuzzleChip*> order = items_;  // the groups brought forward reorder the list
  std::vector<const ChipGroup*> tried;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    PuzzleChip* piece = *it;
    if (const ChipGroup* group = piece->Group()) {
      if (std::find(tried.begin(), tried.end(), group) != tried.end()) continue;
      tried.push_back(group);
      if (BringGroupToFront(group->Id(), true)) return;
    } else if (ClearMarksOf(*piece)) {
      MoveToFront(piece);
      return;
    }
  }
}

void ChipList::TopToBottom() {
  if (Count() < 2) return;
  for (PuzzleChip* piece : items_) {
    if (!MarkCoveringOf(*piece)) continue;
    if (!piece->Group()) {
      Remove(piece);
      items_.push_back(piece);
      return;
    }
    ChipList members(*this, piece->Group()->Id());
    for (int i = members.Count() - 1; i >= 0; --i) MarkCoveringOf(*members.At(i));
    RemoveAll(members);
    items_.insert(items_.end(), members.items_.begin(), members.items_.end());
    return;
  }
}

void ChipList::DrawGroup(MiniTable& mini, const ChipGroup* group) const {
  const QRect box = GroupBounds(group ? group->Id() : 0);
  VirtualBuffer* target = mini.Buffer();
  if (!group || !target) return;
  VirtualBuffer image(box.width(), box.height(), QStringLiteral("Chip group blue screen"));
  for (auto it = items_.rbegin(); it != items_.rend(); ++it)
    if ((*it)->Group() == group)
      (*it)->CopyPixels(image, (*it)->TableX() - box.left(), (*it)->TableY() - box.top());
  VirtualBuffer scaled(image, Scaled(box.width(), mini.ZoomX()), Scaled(box.height(), mini.ZoomY()),
                       false);
  target->DrawBuffer(Scaled(box.left(), mini.ZoomX()), Scaled(box.top(), mini.ZoomY()), scaled,
                     true);
  mini.Repaint();
}
