// The saved-game records of the pieces.

#include "ChipGroup.h"
#include "ChipList.h"
#include "ChipMask.h"
#include "ChipRecord.h"
#include "MiniHost.h"
#include "PuzzleChip.h"
#include "PuzzleTable.h"

void PuzzleChip::WriteRecord(QIODevice& stream, int tableIndex) const {
  ChipRecord record;
  record.centreX = centreX_;
  record.centreY = centreY_;
  record.pieceId = std::uint16_t(id_);
  if (group_) {
    record.groupId = std::uint16_t(group_->Id());
    record.groupOffsetX = std::int16_t(tableX_ - group_->Left());
    record.groupOffsetY = std::int16_t(tableY_ - group_->Top());
  }
  record.rotation = std::uint16_t(mask_->Rotation());
  record.tableIndex = std::uint8_t(tableIndex);
  record.tableWidth = std::uint16_t(mask_->TableWidth());
  record.tableHeight = std::uint16_t(mask_->TableHeight());
  WriteRecordBytes(stream, ChipRecord::Type, record.Bytes());
}

void PuzzleChip::WriteAllRecords(QIODevice& stream) {
  MiniHost* minis = MiniHost::Current();
  const int active = minis ? minis->ActiveMiniIndex() : -1;
  for (int i = (minis ? minis->MiniCount() : 0) - 1; i >= 0; --i) {
    if (i == active) continue;
    ChipList& list = minis->MiniChips(i);
    for (int k = 0; k < list.Count(); ++k) list.At(k)->WriteRecord(stream, i);
  }
  PuzzleTable* table = PuzzleTable::Current();
  if (!table) return;
  ChipList& list = table->GetChipList();
  for (int k = 0; k < list.Count(); ++k) list.At(k)->WriteRecord(stream, active);
}
