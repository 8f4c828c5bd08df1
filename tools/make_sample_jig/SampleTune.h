#pragma once
// A short, quiet music-box tune for the sample puzzle, made with the game's sound generator.

#include "Synth.h"

namespace SampleTune {
// About seven seconds of mono samples at Synth::SampleRate, peaking at half scale.
Synth::Buffer Make();
}  // namespace SampleTune
