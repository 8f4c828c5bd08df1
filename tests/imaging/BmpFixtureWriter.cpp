#include "BmpFixtureWriter.h"

namespace BmpFixtureWriter {

namespace {

void Put(QByteArray& bytes, quint32 v, int size) {
  for (int i = 0; i < size; ++i) bytes.append(char(v >> (8 * i) & 0xFF));
}

// Rows in file order: bottom-up unless top-down; run-length files use encoded runs only
// (RLE4 repeats the index in both nibbles).
QByteArray PixelData(const Spec& spec) {
  QByteArray bytes;
  const bool runs = spec.compression == Rle8 || spec.compression == Rle4;
  for (int i = 0; i < spec.height; ++i) {
    const int y = spec.topDown ? i : spec.height - 1 - i;
    QByteArray row;
    quint32 bits = 0;
    int used = 0;
    for (int x = 0; x < spec.width; ++x) {
      const quint32 v = spec.value(x, y);
      if (runs) {
        int run = 1;
        while (x + run < spec.width && spec.value(x + run, y) == v) ++run;
        row.append(char(run)).append(char(spec.compression == Rle4 ? (v << 4 | v) : v));
        x += run - 1;
      } else if (spec.bitCount < 8) {
        bits = bits << spec.bitCount | v;
        if ((used += spec.bitCount) == 8) row.append(char(bits)), bits = 0, used = 0;
      } else {
        Put(row, v, spec.bitCount / 8);
      }
    }
    if (used) row.append(char(bits << (8 - used)));
    if (runs) row.append(QByteArray(2, '\0'));  // end of line
    while (!runs && row.size() % 4) row.append('\0');
    bytes += row;
  }
  return runs ? bytes + QByteArray("\0\1", 2) : bytes;  // end of bitmap
}

QByteArray InfoHeader(const Spec& spec, int imageBytes) {
  QByteArray h;
  Put(h, quint32(spec.headerSize), 4);
  const int side = spec.headerSize == 12 ? 2 : 4;
  Put(h, quint32(spec.width), side);
  Put(h, quint32(spec.topDown ? -spec.height : spec.height), side);
  Put(h, 1, 2);
  Put(h, quint32(spec.bitCount), 2);
  if (spec.headerSize == 12) return h;
  for (quint32 v : {quint32(spec.compression), quint32(imageBytes), 2835u, 2835u, quint32(spec.palette.size()), 0u})
    Put(h, v, 4);
  if (spec.headerSize >= 108 || spec.compression == BitFields)
    for (quint32 m : spec.masks) Put(h, m, 4);  // inside the later headers, after the 40-byte one
  if (spec.headerSize >= 108) h.append(QByteArray(spec.headerSize - int(h.size()), '\0'));
  return h;
}

}  // namespace

QByteArray Write(const Spec& spec) {
  const QByteArray pixels = PixelData(spec);
  const QByteArray info = InfoHeader(spec, int(pixels.size()));
  QByteArray palette;
  const int entries = spec.headerSize == 12 && !spec.palette.isEmpty() ? 1 << spec.bitCount  // core: full tables
                                                                       : int(spec.palette.size());
  for (int i = 0; i < entries; ++i) Put(palette, spec.palette.value(i) & 0xFFFFFF, spec.headerSize == 12 ? 3 : 4);
  QByteArray file("BM");
  const int offset = 14 + int(info.size()) + int(palette.size());
  for (quint32 v : {quint32(offset + pixels.size()), 0u, quint32(offset)}) Put(file, v, 4);
  return file + info + palette + pixels;
}

}  // namespace BmpFixtureWriter
