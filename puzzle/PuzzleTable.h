#pragma once
// What the play table gives the puzzle: the room a picture may fill, the table's size, and
// the pieces it holds. The table surface lives in a higher layer and implements this; the
// one that exists registers itself as the current table.

#include "Yelk/CurrentInstance.h"

#include <QRect>
#include <QSize>

class ChipList;

class PuzzleTable : public CurrentInstance<PuzzleTable> {
public:
  // Table pixels are indexed by 24 bits in the pixel map; no picture plays larger.
  static constexpr int MaxTablePixels = 1 << 24;

  virtual ~PuzzleTable();

  // The main window around the table, for a saved game laid out on another screen: the
  // screen's size; maximising or placing it (the window updated and the empty mini tables
  // repainted after either); the mini table the game was played on.
  virtual QSize ScreenSize() const = 0;
  virtual void MaximizeMainForm() = 0;
  virtual void PlaceMainForm(const QRect& bounds) = 0;
  virtual void SwitchToMini(int index) = 0;

  // The table area a picture may fill at most: the desktop's work area less the main
  // window's frame around the table.
  virtual QSize AvailableArea() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // Deletes every piece on the table and on the mini tables: their puzzle is going.
  virtual void DeleteAllPieces() = 0;
  // The pieces lying on the main table in drawing order, the topmost first.
  virtual ChipList& GetChipList() = 0;
  // A join was made: the table top plays the join sound on its next turn.
  virtual void SetJoinSoundPending() = 0;
  // Stops the animation playing the current puzzle: the puzzle is going.
  virtual void StopProjector() {}
};
