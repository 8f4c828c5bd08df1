// Synthesizes the game's three sounds into the folder given on the command line:
// 8000.wav a piece joining (a crisp wooden click), 8001.wav a turn (a soft tick) and
// 8002.wav the applause when the puzzle is finished.

#include "Synth.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace Synth;

namespace {

struct Mode {
  double frequency, decaySeconds, amplitude;
};

// Damped sine modes struck at 'start' with an attack of 'attackSeconds'.
void Strike(Buffer& out, double start, const std::vector<Mode>& modes, double gain, double attackSeconds,
            Noise& noise) {
  const int first = Samples(start);
  for (const Mode& m : modes) {
    const double phase = noise.Uniform(0, 2 * M_PI);
    const double jitter = 1 + noise.Gauss(0.01);
    const int length = Samples(m.decaySeconds * 7);
    for (int i = 0; i < length && first + i < int(out.size()); ++i) {
      const double t = double(i) / SampleRate;
      const double attack = t < attackSeconds ? std::sin(0.5 * M_PI * t / attackSeconds) : 1.0;
      out[first + i] += gain * m.amplitude * attack * std::exp(-t / m.decaySeconds) *
                        std::sin(2 * M_PI * m.frequency * jitter * t + phase);
    }
  }
}

// The first contact of the edge: a bright burst of filtered noise.
void Contact(Buffer& out, double start, double frequency, double decaySeconds, double gain, Noise& noise) {
  Resonator body(frequency, 1.6);
  const int first = Samples(start), length = Samples(decaySeconds * 8);
  for (int i = 0; i < length && first + i < int(out.size()); ++i)
    out[first + i] += gain * body.Step(noise.White() * std::exp(-double(i) / SampleRate / decaySeconds));
}

Buffer Join() {
  Noise noise(8000);
  Buffer out(Samples(0.16), 0.0);
  const std::vector<Mode> wood{{265, 0.010, 0.55}, {1180, 0.018, 1.0}, {2630, 0.011, 0.55},
                               {4270, 0.008, 0.32}, {6150, 0.005, 0.18}};
  // The piece's edge touches first, then its knob drops into place.
  Contact(out, 0.000, 3200, 0.0012, 0.25, noise);
  Strike(out, 0.000, wood, 0.30, 0.0004, noise);
  Contact(out, 0.011, 2900, 0.0015, 0.6, noise);
  Strike(out, 0.011, wood, 1.00, 0.0003, noise);
  // A faint early reflection from the table.
  Buffer dry = out;
  const int delay = Samples(0.0065);
  for (size_t i = delay; i < out.size(); ++i) out[i] += 0.16 * dry[i - delay];
  Normalize(out, 0.70);
  FadeEnds(out, 0.0, 0.02);
  return out;
}

Buffer Turn() {
  Noise noise(8001);
  Buffer out(Samples(0.06), 0.0);
  const std::vector<Mode> tick{{2350, 0.0060, 1.0}, {3900, 0.0040, 0.5}, {5600, 0.0025, 0.25}};
  Contact(out, 0.0, 4200, 0.0008, 0.12, noise);
  Strike(out, 0.0, tick, 1.0, 0.0009, noise);
  Normalize(out, 0.32);
  FadeEnds(out, 0.0, 0.01);
  return out;
}

// One hand clap: a burst of noise coloured by the cupped hands' resonance.
void Clap(Buffer& out, double start, double gain, double frequency, double q, double decaySeconds,
          double brightness, Noise& noise) {
  Resonator hands(frequency, q);
  Resonator air(frequency * 2.3, 1.2);
  LowPass distance(brightness);
  const int first = Samples(start), length = Samples(decaySeconds * 9 + 0.004);
  for (int i = 0; i < length && first + i < int(out.size()); ++i) {
    const double t = double(i) / SampleRate;
    const double env = (t < 0.0006 ? t / 0.0006 : 1.0) * std::exp(-t / decaySeconds);
    const double n = noise.White() * env;
    out[first + i] += gain * distance.Step(hands.Step(n) * 1.4 + air.Step(n) * 0.6 + n * 0.3);
  }
}

// A small room: a few feedback combs and an all-pass, mixed in lightly.
void Room(Buffer& buffer, double wet) {
  const int delays[] = {Samples(0.0297), Samples(0.0371), Samples(0.0411), Samples(0.0437)};
  Buffer reverb(buffer.size(), 0.0);
  for (int d : delays) {
    Buffer comb(buffer.size(), 0.0);
    LowPass damp(3500);
    for (size_t i = 0; i < buffer.size(); ++i)
      comb[i] = buffer[i] + (i >= size_t(d) ? 0.72 * damp.Step(comb[i - d]) : 0.0);
    for (size_t i = 0; i < buffer.size(); ++i) reverb[i] += comb[i] * 0.25;
  }
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] += wet * reverb[i];
}

Buffer Applause() {
  constexpr double length = 4.2;
  Noise noise(8002);
  Buffer out(Samples(length), 0.0);
  for (int person = 0; person < 34; ++person) {
    const double near = noise.Uniform(0.25, 1.0);
    const double rate = noise.Uniform(3.4, 5.6);       // claps per second
    const double frequency = noise.Uniform(750, 2300);  // the shape of the hands
    const double q = noise.Uniform(1.0, 2.4);
    const double decay = noise.Uniform(0.004, 0.009);
    const double brightness = 2500 + 5000 * near;
    double t = noise.Uniform(0.0, 0.45) * (1.3 - near);  // the nearest start first
    const double stop = length - noise.Uniform(0.25, 1.7);
    while (t < stop) {
      // Claps weaken towards the end, as people run out of enthusiasm.
      const double fade = t > stop - 0.8 ? (stop - t) / 0.8 : 1.0;
      Clap(out, t, near * (0.75 + 0.25 * noise.White()) * (0.35 + 0.65 * fade), frequency * (1 + noise.Gauss(0.04)),
           q, decay, brightness, noise);
      t += (1.0 / rate) * (1 + noise.Gauss(0.07));
    }
  }
  Room(out, 0.35);
  Normalize(out, 0.80);
  FadeEnds(out, 0.05, 0.6);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sounds_gen <output folder>\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::filesystem::create_directories(folder);
  const bool ok = WriteWave(folder + "/8000.wav", Join()) && WriteWave(folder + "/8001.wav", Turn()) &&
                  WriteWave(folder + "/8002.wav", Applause());
  if (!ok) std::fprintf(stderr, "cannot write the sounds into %s\n", folder.c_str());
  return ok ? 0 : 1;
}
