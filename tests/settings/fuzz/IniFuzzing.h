#pragma once
// The INI readers under damaged files: the sponsor's file with its icon and logo, and the
// settings store with the override file beside the program, on bytes in memory.

#include <QByteArray>

namespace IniFuzzing {

// Reads the bytes as the sponsor's file, as the settings store and as the override file.
void Load(const QByteArray& bytes);

}  // namespace IniFuzzing
