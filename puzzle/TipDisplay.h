#pragma once

#include "Yelk/CurrentInstance.h"
// Where the puzzle asks for a just-in-time tip by its number. The tips manager lives in a
// higher layer and implements this; while none is registered, tips are not shown.

class TipDisplay : public CurrentInstance<TipDisplay> {
public:
  virtual ~TipDisplay();

  // Whether the tip was shown (a tip the player has seen or turned off is not).
  virtual bool ShowTip(int number) = 0;
  // The player did what the tip teaches: it is not offered again.
  virtual void MarkTipUsed(int number) = 0;
  // Whether the tip could be shown now.
  virtual bool IsTipEligible(int number) = 0;

  // Through the current display, when there is one; without one nothing is shown or
  // eligible.
  static bool Show(int number);
  static void MarkUsed(int number);
  static bool IsEligible(int number);
};
