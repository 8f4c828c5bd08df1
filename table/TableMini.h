#pragma once
// A mini table as the table surface drives it: the pieces it holds while inactive, its
// thumbnail of a table, and its active mark. The control panel's mini tables implement it.

#include "puzzle/MiniTable.h"

#include <QSize>

class ChipList;
class PuzzleChip;

class TableMini : public MiniTable {
public:
  virtual int Index() const = 0;
  // The pieces lying on it while it is inactive; empty while active.
  virtual ChipList& Chips() = 0;
  // Every other mini goes inactive, this one active.
  virtual void Activate() = 0;
  virtual bool IsActive() const = 0;
  // Draws its thumbnail again, from source scaled (null: as it is).
  virtual void RepaintFrom(const VirtualBuffer* source) = 0;
  // Takes a hint's cross off its thumbnail, when one shows.
  virtual void HideHintMarker() = 0;
  // Crosses the thumbnail at the piece when this mini holds it and no cross shows yet; the
  // cross's x in the table top's coordinates, or -1.
  virtual int ShowHintMarker(PuzzleChip* piece) = 0;
  // The table now has that size: a point on the mini means a point of that table.
  virtual void FollowTableSize(QSize) {}
};
