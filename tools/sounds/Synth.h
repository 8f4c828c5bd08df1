#pragma once
// Small building blocks of the sound generator: a band-pass resonator, seeded noise and
// a 16-bit mono WAVE writer.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace Synth {

constexpr int SampleRate = 22050;
using Buffer = std::vector<double>;

// A two-pole band-pass filter (constant peak gain) at a centre frequency and Q.
class Resonator {
public:
  Resonator(double frequency, double q);
  double Step(double in);

private:
  double b0, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// A one-pole low-pass filter.
class LowPass {
public:
  explicit LowPass(double frequency);
  double Step(double in);

private:
  double k, y = 0;
};

class Noise {
public:
  explicit Noise(unsigned seed) : rng(seed) {}
  double White() { return uniform(rng); }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (uniform(rng) * 0.5 + 0.5); }
  double Gauss(double sd) { return std::normal_distribution<double>(0.0, sd)(rng); }

private:
  std::mt19937 rng;
  std::uniform_real_distribution<double> uniform{-1.0, 1.0};
};

int Samples(double seconds);
// Scales the buffer so that its largest sample reaches 'peak' (0..1).
void Normalize(Buffer& buffer, double peak);
// Short raised-cosine fades at both ends, so that no sound starts or stops with a click.
void FadeEnds(Buffer& buffer, double fadeInSeconds, double fadeOutSeconds);
// Writes a 16-bit mono PCM WAVE file; false when it cannot be written.
bool WriteWave(const std::string& path, const Buffer& buffer);

}  // namespace Synth
