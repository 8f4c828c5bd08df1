#include "BmpReferences.h"

#include <QtGlobal>
#include <cmath>
#include <functional>

namespace BmpReferences {

using namespace BmpFixtureWriter;

namespace {

std::uint32_t Stored(QRgb c) {
  const std::uint32_t v = c & 0xFFFFFF;
  return v ? v : 1;
}

QRgb PaletteColour(int i) { return i == 0 ? qRgb(0, 0, 0) : qRgb(i * 37 % 256, i * 91 % 256, i * 53 % 256); }

// A channel level: the first pixels at 0, just over half and full scale, then spread out.
int Level(int i, int channel, int top) {
  if (i < 3) return i == 0 ? 0 : i == 1 ? top / 2 + 1 : top;
  return (i * 37 + channel * 101) % (top + 1);
}

}  // namespace

const std::array<Kind, 18> kinds = {{
    {"core 1 bit", 12, 1, Rgb, {}, false},
    {"core 4 bits", 12, 4, Rgb, {}, false},
    {"core 8 bits", 12, 8, Rgb, {}, false},
    {"core 24 bits", 12, 24, Rgb, {0xFF0000, 0xFF00, 0xFF}, false},
    {"1 bit", 40, 1, Rgb, {}, true},
    {"4 bits", 40, 4, Rgb, {}, true},
    {"8 bits", 40, 8, Rgb, {}, true},
    {"RLE4", 40, 4, Rle4, {}, false},
    {"RLE8", 40, 8, Rle8, {}, false},
    {"16 bits 5-5-5", 40, 16, Rgb, {0x7C00, 0x03E0, 0x001F}, true},
    {"16 bits 5-6-5", 40, 16, BitFields, {0xF800, 0x07E0, 0x001F}, true},
    {"16 bits 4-4-4, 56-byte header", 56, 16, BitFields, {0x0F00, 0x00F0, 0x000F}, true},
    {"24 bits", 40, 24, Rgb, {0xFF0000, 0xFF00, 0xFF}, true},
    {"24 bits, 124-byte header", 124, 24, Rgb, {0xFF0000, 0xFF00, 0xFF}, true},
    {"32 bits", 40, 32, Rgb, {0xFF0000, 0xFF00, 0xFF}, true},
    {"32 bits, masks in a 108-byte header", 108, 32, BitFields, {0xFF0000, 0xFF00, 0xFF}, true},
    {"32 bits 10-10-10, 52-byte header", 52, 32, BitFields, {0x3FF00000, 0x000FFC00, 0x3FF}, true},
    {"32 bits, red in the low byte", 40, 32, BitFields, {0xFF, 0xFF00, 0xFF0000}, true},
}};

Reference MakeReference(const Kind& kind, int width, int height, bool topDown, bool codesPadPixel) {
  BmpLayout layout{kind.headerSize, width, height, kind.bitCount, kind.compression, topDown, {}, kind.masks, {}};
  layout.codesPadPixel = codesPadPixel;
  std::function<QRgb(int)> expected;
  if (kind.masks[0] == 0) {
    const int entries = std::min(1 << kind.bitCount, 20);  // 8 bits: a short palette
    for (int i = 0; i < entries; ++i) layout.palette.append(PaletteColour(i));
    // Runs of four and single pixels by turns, so that run-length files hold both codes.
    const auto index = [=](int i) { return (i % 16 < 8 ? i / 4 : i) * 7 % entries; };
    layout.value = [=](int x, int y) { return quint32(index(y * width + x)); };
    expected = [=](int i) { return PaletteColour(index(i)); };
  } else {
    const auto top = [&](int c) { return int(kind.masks[c] >> qCountTrailingZeroBits(kind.masks[c])); };
    const int tops[3] = {top(0), top(1), top(2)};
    layout.value = [=](int x, int y) {
      quint32 v = 0;
      for (int c = 0; c < 3; ++c) v |= quint32(Level(y * width + x, c, tops[c])) << qCountTrailingZeroBits(kind.masks[c]);
      return v;
    };
    const auto full = [=](int i, int c) { return int(std::lround(Level(i, c, tops[c]) * 255.0 / tops[c])); };
    expected = [=](int i) { return qRgb(full(i, 0), full(i, 1), full(i, 2)); };
  }
  Reference reference{Write(layout), {}};
  for (int i = 0; i < width * height; ++i) reference.pixels.push_back(Stored(expected(i)));
  return reference;
}

}  // namespace BmpReferences
