#pragma once
// The one-byte status a puzzle-file reader reports, and the one the puzzle object adds for a
// file it has no reader for. The puzzle turns it into the player's message.

#include <cstdint>

enum PuzzleFileStatus : std::uint8_t {
  pfsReady = 0,
  pfsNotFound = 1,   // the file could not be opened
  pfsWrongKind = 2,  // not a file of this kind
  pfsCorrupt = 4,
  pfsUnsupported = 7,  // no reader for this kind of file
  pfsNotReadYet = 8,
};
