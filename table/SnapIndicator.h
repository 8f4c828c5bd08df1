#pragma once

#include "Yelk/CurrentInstance.h"
// The light that tells the player a carried piece would snap where it is: it flashes while
// a snap is in reach and stays lit for a moment after a join. The main window's LED
// implements it; while none is registered nothing shows.

class SnapIndicator : public CurrentInstance<SnapIndicator> {
public:
  virtual ~SnapIndicator() = default;

  virtual void SetLit(bool lit) = 0;
  virtual void SetFlash(bool flash) = 0;
};
