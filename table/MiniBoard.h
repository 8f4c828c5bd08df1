#pragma once
// The mini tables beside the main table, by index: which one is active, which one comes
// next, and the operations on all of them at once. The minis register here as they are made
// (in index order); the board answers the puzzle's questions about them (MiniHost).

#include "puzzle/MiniHost.h"

#include <vector>

class ChipList;
class PuzzleChip;
class TableMini;
class VirtualBuffer;

class MiniBoard : public MiniHost {
public:
  MiniBoard();
  ~MiniBoard() override;

  void Add(TableMini* mini);
  void Remove(TableMini* mini);

  int MiniCount() const override { return int(minis_.size()); }
  ChipList& MiniChips(int index) override;
  int ActiveMiniIndex() const override;

  TableMini* FirstMini() const;
  // The mini at index when there is one, else the active one, else the first.
  TableMini* MiniByIndex(int index) const;
  // The last mini marked active; null (logged) when none is.
  TableMini* ActiveMini() const;
  // The mini after (before) mini, wrapping around.
  TableMini* After(const TableMini* mini) const;
  TableMini* Before(const TableMini* mini) const;

  // Every mini draws its thumbnail again from source.
  void RepaintAll(const VirtualBuffer* source);
  void HideHintMarker();
  // Deletes the pieces every mini holds.
  void ClearAllMinis();
  // The piece goes to the front of the mini's pieces (room made for the whole puzzle at
  // once, so that a mini filling up does not grow piece by piece).
  static void AddChip(TableMini& mini, PuzzleChip* piece, int pieceCount);

private:
  std::vector<TableMini*> minis_;
};
