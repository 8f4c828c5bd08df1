#include "TipDisplay.h"

TipDisplay::~TipDisplay() = default;

bool TipDisplay::Show(int number) {
  TipDisplay* display = Current();
  return display && display->ShowTip(number);
}
