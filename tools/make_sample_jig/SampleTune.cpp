#include "SampleTune.h"

#include <cmath>

using namespace Synth;

namespace {

struct Note {
  double beat;   // when it starts, in beats
  int semitone;  // above A4
  double beats;  // how long it rings
};

// A music-box tine: a sine with a faint octave and twelfth, struck and dying away.
void Tine(Buffer& out, double start, double frequency, double seconds) {
  const int first = Samples(start), length = Samples(seconds);
  for (int i = 0; i < length && first + i < int(out.size()); ++i) {
    const double t = double(i) / SampleRate;
    const double attack = t < 0.004 ? t / 0.004 : 1.0;
    const double body = std::sin(2 * M_PI * frequency * t) + 0.25 * std::sin(4 * M_PI * frequency * t) * std::exp(-t * 6) +
                        0.1 * std::sin(6 * M_PI * frequency * t) * std::exp(-t * 9);
    out[first + i] += attack * std::exp(-t * 2.2) * body;
  }
}

}  // namespace

Buffer SampleTune::Make() {
  // A pentatonic phrase in D, answered, then a closing chord.
  static const Note tune[] = {
      {0, -7, 1},  {1, -3, 1},  {2, 0, 1},   {3, 2, 1},   {4, 0, 2},   {6, -3, 2},
      {8, -5, 1},  {9, -3, 1},  {10, 0, 1},  {11, -3, 1}, {12, -7, 2}, {14, -12, 2},
      {16, -7, 4}, {16, -3, 4}, {16, 0, 4},
  };
  constexpr double beatSeconds = 0.36;
  Buffer out(std::size_t(Samples(20 * beatSeconds + 1.0)), 0.0);
  for (const Note& note : tune) {
    const double frequency = 440.0 * std::pow(2.0, note.semitone / 12.0);
    Tine(out, note.beat * beatSeconds, frequency, note.beats * beatSeconds + 0.8);
  }
  Normalize(out, 0.5);
  FadeEnds(out, 0.005, 0.4);
  return out;
}
