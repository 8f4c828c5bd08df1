#include "MiniHost.h"
#include "MiniTable.h"
#include "PieceCarrier.h"

MiniHost::~MiniHost() = default;

MiniTable::~MiniTable() = default;

PieceCarrier::~PieceCarrier() = default;
