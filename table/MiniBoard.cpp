#include "MiniBoard.h"

#include "TableMini.h"
#include "puzzle/ChipList.h"
#include "Yelk/TMsgLog.h"

#include <algorithm>

MiniBoard::MiniBoard() { SetCurrent(this); }

MiniBoard::~MiniBoard() = default;

void MiniBoard::Add(TableMini* mini) {
  if (mini && std::find(minis_.begin(), minis_.end(), mini) == minis_.end())
    minis_.push_back(mini);
}

void MiniBoard::Remove(TableMini* mini) { std::erase(minis_, mini); }

ChipList& MiniBoard::MiniChips(int index) { return MiniByIndex(index)->Chips(); }

int MiniBoard::ActiveMiniIndex() const {
  const TableMini* active = ActiveMini();
  return active ? active->Index() : -1;
}

TableMini* MiniBoard::FirstMini() const { return minis_.empty() ? nullptr : minis_.front(); }

TableMini* MiniBoard::MiniByIndex(int index) const {
  if (index >= 0 && index < MiniCount()) return minis_[std::size_t(index)];
  if (TableMini* active = ActiveMini()) return active;
  return FirstMini();
}

TableMini* MiniBoard::ActiveMini() const {
  for (auto it = minis_.rbegin(); it != minis_.rend(); ++it)
    if ((*it)->IsActive()) return *it;
  if (!minis_.empty()) TMsgLog::Add(QStringLiteral("Active mini not found"));
  return nullptr;
}

TableMini* MiniBoard::After(const TableMini* mini) const {
  const auto at = std::find(minis_.begin(), minis_.end(), mini);
  if (at == minis_.end()) return FirstMini();
  return std::next(at) == minis_.end() ? minis_.front() : *std::next(at);
}

TableMini* MiniBoard::Before(const TableMini* mini) const {
  const auto at = std::find(minis_.begin(), minis_.end(), mini);
  if (at == minis_.end()) return FirstMini();
  return at == minis_.begin() ? minis_.back() : *std::prev(at);
}

void MiniBoard::RepaintAll(const VirtualBuffer* source) {
  for (TableMini* mini : minis_) mini->RepaintFrom(source);
}

void MiniBoard::HideHintMarker() {
  for (TableMini* mini : minis_) mini->HideHintMarker();
}

void MiniBoard::ClearAllMinis() {
  for (TableMini* mini : minis_) mini->Chips().DeleteAll();
}

void MiniBoard::AddChip(TableMini& mini, PuzzleChip* piece, int pieceCount) {
  ChipList& chips = mini.Chips();
  if (chips.Capacity() < 2) chips.Reset(pieceCount + 10);
  chips.Push(piece);
}
