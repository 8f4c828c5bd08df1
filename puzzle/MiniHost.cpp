#include "MiniHost.h"
#include "MiniTable.h"
#include "PieceCarrier.h"

namespace {

MiniHost* current = nullptr;

}  // namespace

MiniHost::~MiniHost() {
  if (current == this) current = nullptr;
}

MiniHost* MiniHost::Current() { return current; }

void MiniHost::SetCurrent(MiniHost* host) { current = host; }

MiniTable::~MiniTable() = default;

PieceCarrier::~PieceCarrier() = default;
