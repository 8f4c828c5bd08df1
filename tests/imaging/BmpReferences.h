#pragma once
// Every kind of BMP file the game reads, each written from a reference picture whose
// stored pixels the test knows: palettes, packed pixels at 0, mid and full scale of each
// channel, both row orders.

#include "BmpFixtureWriter.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

namespace BmpReferences {

// One kind of file. Palette kinds have no masks; the others say where each channel lies.
struct Kind {
  const char* name;
  int headerSize, bitCount, compression;
  std::array<quint32, 3> masks;
  bool topDownToo;
};

extern const std::array<Kind, 18> kinds;

// A reference picture for one kind and size: the file, and the pixels it must give.
struct Reference {
  QByteArray file;
  std::vector<std::uint32_t> pixels;  // row by row from the top, black stored as 1
};

Reference MakeReference(const Kind& kind, int width, int height, bool topDown, bool codesPadPixel = false);

}  // namespace BmpReferences
