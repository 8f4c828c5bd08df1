#pragma once
// The puzzle file reader under damaged files: the steps the game takes with a still puzzle or
// saved game, on bytes in memory.

#include <QByteArray>

namespace JigsawFuzzing {

enum class Verdict { Loaded, Refused };

// Reads the bytes as a saved game and as a still puzzle; a file that reads is then asked for
// everything the game asks of it: its pictures, its blocks, its groups turned to fit a small
// table and made, and its piece records. Loaded when either reading succeeded.
Verdict Load(const QByteArray& bytes);

}  // namespace JigsawFuzzing
