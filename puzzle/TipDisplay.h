#pragma once

#include "Yelk/CurrentInstance.h"
// Where the puzzle asks for a just-in-time tip by its number. The tips manager lives in a
// higher layer and implements this; while none is registered, tips are not shown.

class TipDisplay : public CurrentInstance<TipDisplay> {
public:
  virtual ~TipDisplay();

  // Whether the tip was shown (a tip the player has seen or turned off is not).
  virtual bool ShowTip(int number) = 0;

  // Shows the tip through the current display, when there is one; whether it was shown.
  static bool Show(int number);
};
