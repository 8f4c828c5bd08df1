#include "TipDisplay.h"

namespace {

TipDisplay* current = nullptr;

}  // namespace

TipDisplay::~TipDisplay() {
  if (current == this) current = nullptr;
}

TipDisplay* TipDisplay::Current() { return current; }

void TipDisplay::SetCurrent(TipDisplay* display) { current = display; }

void TipDisplay::Show(int number) {
  if (current) current->ShowTip(number);
}
