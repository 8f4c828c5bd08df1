#include "TipDisplay.h"

TipDisplay::~TipDisplay() = default;

bool TipDisplay::Show(int number) {
  TipDisplay* display = Current();
  return display && display->ShowTip(number);
}

void TipDisplay::MarkUsed(int number) {
  if (TipDisplay* display = Current()) display->MarkTipUsed(number);
}

bool TipDisplay::IsEligible(int number) {
  TipDisplay* display = Current();
  return display && display->IsTipEligible(number);
}
