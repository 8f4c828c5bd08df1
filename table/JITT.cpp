#include "table/JITT.h"

#include <utility>

JITT::JITT(int id, QString text, unsigned flags, int helpContext)
    : id(id), text(std::move(text)), flags(flags), helpContext(helpContext) {}

bool JITT::Available() const {
  if (!available) return false;
  return prerequisite == nullptr || !prerequisite->Available();
}

void JITT::SetAvailable(bool on) {
  if (!on && Has(Repeatable)) return;
  available = on;
}
