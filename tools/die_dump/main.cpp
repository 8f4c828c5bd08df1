// die_dump <width> <height> <piece size> <file.png>
// Writes the cutting die for a picture of that size as a PNG: white area, red cut lines,
// yellow and blue crossing markers.

#include "puzzle/CuttingDie.h"
#include "imaging/VirtualBuffer.h"
#include "tools/CutFixtures.h"

#include <QImage>
#include <QString>

#include <cstdio>

namespace {

int Number(const char* text) {
  bool ok = false;
  const int value = QString::fromLocal8Bit(text).toInt(&ok);
  return ok ? value : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: die_dump <width> <height> <piece size> <file.png>\n");
    return 2;
  }
  const int width = Number(argv[1]), height = Number(argv[2]), size = Number(argv[3]);
  if (width < 1 || height < 1 || size < 1) {
    std::fprintf(stderr, "die_dump: width, height and piece size must be positive numbers\n");
    return 2;
  }
  FixedPicture picture(QSize(width, height));
  CuttingDie die(&picture, size, nullptr);
  const VirtualBuffer* buffer = die.Buffer();
  if (!buffer) {
    std::fprintf(stderr, "die_dump: no die for %dx%d at piece size %d\n", width, height, size);
    return 1;
  }
  QImage image(buffer->width, buffer->height, QImage::Format_RGB32);
  for (int y = 0; y < buffer->height; ++y) {
    const std::uint32_t* from = buffer->Row(y);
    auto* to = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    for (int x = 0; x < buffer->width; ++x) to[x] = 0xFF000000u | from[x];
  }
  if (!image.save(QString::fromLocal8Bit(argv[4]), "PNG")) {
    std::fprintf(stderr, "die_dump: could not write %s\n", argv[4]);
    return 1;
  }
  std::printf("%d x %d cells of about %d pixels written to %s\n", die.Columns(), die.Rows(), size,
              argv[4]);
  return 0;
}
