#include "PuzzleTable.h"

PuzzleTable::~PuzzleTable() = default;

