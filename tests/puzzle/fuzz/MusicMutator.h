#pragma once
// Changes a MIDI file or a WAVE image as a damaged or hostile file would, knowing its
// structure: the format chunk's fields, rates and channel counts, chunk sizes, floods of
// notes, controllers or resets at one tick, tempos and delta times. Anything else is left to
// the byte-level mutations of the fuzzer.

#include <QByteArray>
#include <random>

namespace MusicMutator {

// The changed music; empty when the bytes are neither MIDI nor WAVE.
QByteArray Mutate(const QByteArray& music, std::mt19937& random);

}  // namespace MusicMutator
