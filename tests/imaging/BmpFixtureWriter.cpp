#include "BmpFixtureWriter.h"

#include <algorithm>

namespace BmpFixtureWriter {

namespace {

void Put(QByteArray& bytes, quint32 v, int size) {
  for (int i = 0; i < size; ++i) bytes.append(char(v >> (8 * i) & 0xFF));
}

// Pixels one by one, as a run-length file's absolute run: count indices, packed into bytes
// (RLE4: two to a byte) and padded to a whole word.
QByteArray AbsoluteRun(const BmpLayout& layout, int x, int y, int count) {
  QByteArray bytes;
  bytes.append('\0').append(char(count));
  QByteArray packed;
  for (int i = 0; i < count; ++i) {
    const quint32 v = layout.value(x + i, y);
    if (layout.compression == Rle8) packed.append(char(v));
    else if (i % 2 == 0) packed.append(char(v << 4));
    else packed.back() = char(packed.back() | char(v));
  }
  if (packed.size() % 2) packed.append('\0');
  return bytes + packed;
}

// Rows in file order: bottom-up unless top-down. Run-length files use encoded runs (RLE4
// repeats the index in both nibbles) and, for three or more pixels that differ from the
// next, absolute runs.
QByteArray PixelData(const BmpLayout& layout) {
  QByteArray bytes;
  const bool runs = layout.compression == Rle8 || layout.compression == Rle4;
  for (int i = 0; i < layout.height; ++i) {
    const int y = layout.topDown ? i : layout.height - 1 - i;
    QByteArray row;
    quint32 bits = 0;
    int used = 0;
    for (int x = 0; x < layout.width; ++x) {
      const quint32 v = layout.value(x, y);
      if (runs) {
        int run = 1, single = 0;
        while (x + run < layout.width && run < 255 && layout.value(x + run, y) == v) ++run;
        while (x + single < layout.width && single < 255 &&
               (x + single + 1 == layout.width || layout.value(x + single + 1, y) != layout.value(x + single, y)))
          ++single;
        if (single >= 3) {
          row += AbsoluteRun(layout, x, y, single);
          x += single - 1;
        } else {
          row.append(char(run)).append(char(layout.compression == Rle4 ? (v << 4 | v) : v));
          x += run - 1;
        }
      } else if (layout.bitCount < 8) {
        bits = bits << layout.bitCount | v;
        if ((used += layout.bitCount) == 8) row.append(char(bits)), bits = 0, used = 0;
      } else {
        Put(row, v, layout.bitCount / 8);
      }
    }
    if (used) row.append(char(bits << (8 - used)));
    if (runs) row.append(QByteArray(2, '\0'));  // end of line
    while (!runs && row.size() % 4) row.append('\0');
    bytes += row;
  }
  return runs ? bytes + QByteArray("\0\1", 2) : bytes;  // end of bitmap
}

QByteArray InfoHeader(const BmpLayout& layout, int imageBytes) {
  QByteArray h;
  Put(h, quint32(layout.headerSize), 4);
  const int side = layout.headerSize == 12 ? 2 : 4;
  Put(h, quint32(layout.width), side);
  Put(h, quint32(layout.topDown ? -layout.height : layout.height), side);
  Put(h, 1, 2);
  Put(h, quint32(layout.bitCount), 2);
  if (layout.headerSize == 12) return h;
  for (quint32 v : {quint32(layout.compression), quint32(imageBytes), 2835u, 2835u, quint32(layout.palette.size()), 0u})
    Put(h, v, 4);
  if (layout.headerSize > 40 || layout.compression == BitFields)
    for (quint32 m : layout.masks) Put(h, m, 4);  // inside the later headers, after the 40-byte one
  if (layout.headerSize > 40) h.append(QByteArray(layout.headerSize - int(h.size()), '\0'));
  return h;
}

}  // namespace

QByteArray Write(const BmpLayout& layout) {
  BmpLayout coded = layout;
  if (layout.codesPadPixel && layout.width % 2) {
    coded.width = layout.width + 1;
    coded.value = [value = layout.value, last = layout.width - 1](int x, int y) { return value(std::min(x, last), y); };
  }
  const QByteArray pixels = layout.pixelData.isNull() ? PixelData(coded) : layout.pixelData;
  const QByteArray info = InfoHeader(layout, int(pixels.size()));
  QByteArray palette;
  const int entries = layout.headerSize == 12 && !layout.palette.isEmpty() ? 1 << layout.bitCount  // core: full tables
                                                                       : int(layout.palette.size());
  for (int i = 0; i < entries; ++i) Put(palette, layout.palette.value(i) & 0xFFFFFF, layout.headerSize == 12 ? 3 : 4);
  QByteArray file("BM");
  const int offset = 14 + int(info.size()) + int(palette.size());
  for (quint32 v : {quint32(offset + pixels.size()), 0u, quint32(offset)}) Put(file, v, 4);
  return file + info + palette + pixels;
}

}  // namespace BmpFixtureWriter
