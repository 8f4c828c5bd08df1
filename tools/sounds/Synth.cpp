#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace Synth {

Resonator::Resonator(double frequency, double q) {
  const double w = 2 * M_PI * frequency / SampleRate;
  const double alpha = std::sin(w) / (2 * q);
  const double a0 = 1 + alpha;
  b0 = alpha / a0;
  b2 = -alpha / a0;
  a1 = -2 * std::cos(w) / a0;
  a2 = (1 - alpha) / a0;
}

double Resonator::Step(double in) {
  const double out = b0 * in + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = in;
  y2 = y1;
  y1 = out;
  return out;
}

LowPass::LowPass(double frequency) : k(1 - std::exp(-2 * M_PI * frequency / SampleRate)) {}

double LowPass::Step(double in) {
  y += k * (in - y);
  return y;
}

int Samples(double seconds) { return int(std::lround(seconds * SampleRate)); }

void Normalize(Buffer& buffer, double peak) {
  double largest = 0;
  for (double s : buffer) largest = std::max(largest, std::abs(s));
  if (largest <= 0) return;
  for (double& s : buffer) s *= peak / largest;
}

void FadeEnds(Buffer& buffer, double fadeInSeconds, double fadeOutSeconds) {
  const int n = int(buffer.size());
  const int in = std::min(n, Samples(fadeInSeconds)), out = std::min(n, Samples(fadeOutSeconds));
  for (int i = 0; i < in; ++i) buffer[i] *= 0.5 - 0.5 * std::cos(M_PI * i / in);
  for (int i = 0; i < out; ++i) buffer[n - 1 - i] *= 0.5 - 0.5 * std::cos(M_PI * i / out);
}

namespace {
void Put32(std::ofstream& out, std::uint32_t v) {
  const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  out.write(b, 4);
}
void Put16(std::ofstream& out, std::uint16_t v) {
  const char b[2] = {char(v), char(v >> 8)};
  out.write(b, 2);
}
}  // namespace

bool WriteWave(const std::string& path, const Buffer& buffer) {
  std::ofstream out(path, std::ios::binary);
  if (!out) return false;
  const std::uint32_t dataBytes = std::uint32_t(buffer.size() * 2);
  out.write("RIFF", 4);
  Put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, SampleRate);
  Put32(out, SampleRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out.write("data", 4);
  Put32(out, dataBytes);
  for (double s : buffer) {
    const long v = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
    Put16(out, std::uint16_t(std::int16_t(v)));
  }
  return bool(out);
}

}  // namespace Synth
