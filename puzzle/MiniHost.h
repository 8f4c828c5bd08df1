#pragma once

#include "Yelk/CurrentInstance.h"
// The small tables beside the main one, as far as the pieces go: each inactive one holds
// the pieces laid on it, in drawing order; the active one's pieces lie on the main table.
// The control panel lives in a higher layer and implements this.

class ChipList;

class MiniHost : public CurrentInstance<MiniHost> {
public:
  virtual ~MiniHost();

  virtual int MiniCount() const = 0;
  // The pieces held by mini table index (0 <= index < MiniCount()).
  virtual ChipList& MiniChips(int index) = 0;
  // -1 while none is active.
  virtual int ActiveMiniIndex() const = 0;
};
