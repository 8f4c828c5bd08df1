#include "BackgroundTint.h"

#include "imaging/VirtualBuffer.h"

#include <QString>

#include <algorithm>
#include <cstdint>

namespace {

struct Shade {
  std::uint32_t pixel;
  int step;
};

// The felt's shades and their steps from the default colour 0x7599B9.
constexpr Shade Shades[] = {
    {0x5A7E9E, -27}, {0x5D81A1, -24}, {0x6185A5, -20}, {0x6589A9, -16},
    {0x698DAD, -12}, {0x6D91B1, -8},  {0x7195B5, -4},  {0x7599B9, 0},
    {0x799DBD, 5},   {0x7CA0C0, 7},   {0x81A5C5, 12},  {0x85A9C9, 16},
    {0x89ADCD, 20},  {0x8DB1D1, 24},  {0x92B6D6, 29},  {0x9CC0E0, 39},
};

int StepOf(std::uint32_t pixel) {
  for (const Shade& shade : Shades)
    if (shade.pixel == pixel) return shade.step;
  return 0;
}

std::uint32_t Stepped(int colour, int step) {
  auto channel = [&](int shift) {
    return std::uint32_t(std::clamp(((colour >> shift) & 0xFF) + step, 0, 255)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

}  // namespace

std::unique_ptr<VirtualBuffer> TintTexture(const VirtualBuffer& texture, int colour) {
  auto tinted = std::make_unique<VirtualBuffer>(texture.width, texture.height, QStringLiteral("New bkgd"));
  if (tinted->IsEmpty() || texture.IsEmpty()) return tinted;
  // The felt holds a handful of shades: each is worked out once.
  std::uint32_t lastIn = ~0u, lastOut = 0;
  const std::size_t count = std::size_t(texture.width) * std::size_t(texture.height);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t pixel = texture.memory[i] & 0xFFFFFF;
    if (pixel != lastIn) {
      lastIn = pixel;
      lastOut = Stepped(colour, StepOf(pixel));
    }
    tinted->memory[i] = lastOut;
  }
  return tinted;
}
