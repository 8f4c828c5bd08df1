#include "ChipList.h"

#include "ChipGroup.h"
#include "ChipMask.h"
#include "PuzzleChip.h"
#include "Yelk/TMsgLog.h"

#include <algorithm>

namespace {

// What a bad index answers; cleared on every use, so that no stale piece comes back.
PuzzleChip* spareSlot = nullptr;

int GroupIdOf(const PuzzleChip* piece) { return piece->Group() ? piece->Group()->Id() : 0; }

}  // namespace

ChipList::ChipList() : capacity_(1) { items_.reserve(1); }

ChipList::ChipList(int capacity) : capacity_(std::max(capacity, 0)) {
  items_.reserve(std::size_t(capacity_));
}

ChipList::ChipList(const ChipList& source) : items_(source.items_), capacity_(source.Count()) {}

ChipList::ChipList(const ChipList& source, int groupId) : capacity_(source.capacity_) {
  items_.reserve(std::size_t(capacity_));
  for (PuzzleChip* piece : source.items_)
    if (GroupIdOf(piece) == groupId) items_.push_back(piece);
}

ChipList::~ChipList() = default;

PuzzleChip*& ChipList::operator[](int index) {
  if (index < 0 || index >= Count() || index >= capacity_) {
    TMsgLog::Add(QStringLiteral("ChipList::[] invalid index. idx=%1, cnt=%2, cap=%3")
                     .arg(index)
                     .arg(Count())
                     .arg(capacity_));
    spareSlot = nullptr;
    return spareSlot;
  }
  return items_[std::size_t(index)];
}

void ChipList::Grow(int needed, const QString& overflowLine) {
  TMsgLog::Add(overflowLine);
  capacity_ = std::max(needed, capacity_ * 2);
  items_.reserve(std::size_t(capacity_));
}

void ChipList::Add(PuzzleChip* piece) {
  if (Count() >= capacity_)
    Grow(Count() + 1,
         QStringLiteral("ChipList::Add overflow. cnt=%1, cap=%2").arg(Count()).arg(capacity_));
  items_.push_back(piece);
}

void ChipList::Push(PuzzleChip* piece) {
  if (Count() >= capacity_)
    Grow(Count() + 1,
         QStringLiteral("ChipList::Push overflow. cnt=%1, cap=%2").arg(Count()).arg(capacity_));
  items_.insert(items_.begin(), piece);
}

void ChipList::PushList(const ChipList& other) {
  if (Count() + other.Count() > capacity_)
    Grow(Count() + other.Count(),
         QStringLiteral("ChipList::Push list overflow. cnt=%1, cap=%2, lcnt=%3")
             .arg(Count())
             .arg(capacity_)
             .arg(other.Count()));
  const std::vector<PuzzleChip*> front = other.items_;  // other may be this list
  items_.insert(items_.begin(), front.begin(), front.end());
}

void ChipList::Append(const ChipList& other) {
  capacity_ = std::max({capacity_, other.capacity_, Count() + other.Count()});
  items_.reserve(std::size_t(capacity_));
  const std::vector<PuzzleChip*> back = other.items_;
  items_.insert(items_.end(), back.begin(), back.end());
}

void ChipList::Reset(int capacity) {
  capacity = std::max(capacity, 0);
  if (!items_.empty()) {
    TMsgLog::Add(QStringLiteral("ChipList::Reset keeps its pieces. cnt=%1, cap=%2")
                     .arg(Count())
                     .arg(capacity));
    capacity_ = std::max(capacity, Count());
    items_.reserve(std::size_t(capacity_));
    return;
  }
  items_ = {};
  items_.reserve(std::size_t(capacity));
  capacity_ = capacity;
}

void ChipList::Trim() {
  capacity_ = std::max(Count(), 1);
  items_.shrink_to_fit();
}

void ChipList::MoveTo(ChipList& other) {
  if (&other == this) return;
  if (other.IsEmpty()) {
    other.items_ = std::move(items_);
    other.capacity_ = capacity_;
  } else {
    other.Append(*this);
  }
  items_ = {};
  items_.reserve(1);
  capacity_ = 1;
}

void ChipList::DeleteAll() {
  while (!items_.empty()) {
    PuzzleChip* piece = items_.back();
    items_.pop_back();
    delete piece;
  }
  if (capacity_ > 1) {
    capacity_ = 1;
    items_.shrink_to_fit();
  }
}

void ChipList::Remove(PuzzleChip* piece) {
  const auto found = std::find(items_.begin(), items_.end(), piece);
  if (found != items_.end()) items_.erase(found);
}

void ChipList::RemoveAt(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void ChipList::RemoveAll(const ChipList& other) {
  std::erase_if(items_, [&](PuzzleChip* piece) { return other.Contains(piece); });
}

void ChipList::RemoveGroup(int id) {
  if (id == 0) return;
  std::erase_if(items_, [id](PuzzleChip* piece) { return GroupIdOf(piece) == id; });
}

void ChipList::MoveToFront(PuzzleChip* piece) {
  const auto found = std::find(items_.begin(), items_.end(), piece);
  if (found != items_.end()) std::rotate(items_.begin(), found, found + 1);
}

bool ChipList::Contains(const PuzzleChip* piece) const {
  return std::find(items_.begin(), items_.end(), piece) != items_.end();
}

PuzzleChip* ChipList::FindById(int id) const {
  for (PuzzleChip* piece : items_)
    if (piece->Id() == id) return piece;
  return nullptr;
}

int ChipList::CountUnits() const {
  int units = 0;
  const ChipGroup* previous = nullptr;
  for (const PuzzleChip* piece : items_) {
    if (!piece->Group() || piece->Group() != previous) ++units;
    previous = piece->Group();
  }
  return units;
}

int ChipList::MaxPieceExtent() const {
  int extent = 0;
  for (const PuzzleChip* piece : items_)
    extent = std::max({extent, piece->Mask().Width(), piece->Mask().Height()});
  return extent;
}
