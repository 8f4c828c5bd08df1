#include "TipDisplay.h"

TipDisplay::~TipDisplay() = default;

void TipDisplay::Show(int number) {
  if (TipDisplay* display = Current()) display->ShowTip(number);
}
