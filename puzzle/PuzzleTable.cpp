#include "PuzzleTable.h"

namespace {

PuzzleTable* current = nullptr;

}  // namespace

PuzzleTable::~PuzzleTable() {
  if (current == this) current = nullptr;
}

PuzzleTable* PuzzleTable::Current() { return current; }

void PuzzleTable::SetCurrent(PuzzleTable* table) { current = table; }
