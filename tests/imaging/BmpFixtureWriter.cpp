#include "BmpFixtureWriter.h"

#include <QtEndian>

namespace BmpFixtureWriter {

namespace {

void Put16(QByteArray& bytes, quint32 v) {
  bytes.append(char(v & 0xFF));
  bytes.append(char(v >> 8 & 0xFF));
}

void Put32(QByteArray& bytes, quint32 v) {
  Put16(bytes, v & 0xFFFF);
  Put16(bytes, v >> 16);
}

// Rows from the top as the file stores them: bottom-up unless topDown.
int FileRow(const Spec& spec, int i) { return spec.topDown ? i : spec.height - 1 - i; }

QByteArray PlainRows(const Spec& spec) {
  QByteArray bytes;
  for (int i = 0; i < spec.height; ++i) {
    const int y = FileRow(spec, i);
    QByteArray row;
    quint32 bits = 0;
    int used = 0;
    for (int x = 0; x < spec.width; ++x) {
      const quint32 v = spec.value(x, y);
      if (spec.bitCount < 8) {
        bits = bits << spec.bitCount | v;
        used += spec.bitCount;
        if (used == 8) { row.append(char(bits)); bits = 0; used = 0; }
      } else if (spec.bitCount == 8) {
        row.append(char(v));
      } else if (spec.bitCount == 16) {
        Put16(row, v);
      } else if (spec.bitCount == 24) {
        row.append(char(v & 0xFF)); row.append(char(v >> 8 & 0xFF)); row.append(char(v >> 16 & 0xFF));
      } else {
        Put32(row, v);
      }
    }
    if (used) row.append(char(bits << (8 - used)));
    while (row.size() % 4) row.append('\0');
    bytes += row;
  }
  return bytes;
}

// Encoded runs only: (count, index) pairs; RLE4 repeats the index in both nibbles.
QByteArray RunLengthRows(const Spec& spec) {
  QByteArray bytes;
  for (int i = 0; i < spec.height; ++i) {
    const int y = FileRow(spec, i);
    for (int x = 0; x < spec.width;) {
      const quint32 v = spec.value(x, y);
      int run = 1;
      while (x + run < spec.width && spec.value(x + run, y) == v && run < 255) ++run;
      bytes.append(char(run));
      bytes.append(char(spec.compression == Rle4 ? (v << 4 | v) : v));
      x += run;
    }
    bytes.append('\0'); bytes.append('\0');  // end of line
  }
  bytes.append('\0'); bytes.append('\1');  // end of bitmap
  return bytes;
}

QByteArray InfoHeader(const Spec& spec, int imageBytes) {
  QByteArray h;
  Put32(h, quint32(spec.headerSize));
  if (spec.headerSize == 12) {
    Put16(h, quint32(spec.width)); Put16(h, quint32(spec.height));
    Put16(h, 1); Put16(h, quint32(spec.bitCount));
    return h;
  }
  Put32(h, quint32(spec.width)); Put32(h, quint32(spec.topDown ? -spec.height : spec.height));
  Put16(h, 1); Put16(h, quint32(spec.bitCount));
  Put32(h, quint32(spec.compression)); Put32(h, quint32(imageBytes));
  Put32(h, 2835); Put32(h, 2835); Put32(h, quint32(spec.palette.size())); Put32(h, 0);
  if (spec.headerSize >= 108) {
    for (quint32 m : spec.masks) Put32(h, m);
    Put32(h, 0);                      // alpha mask
    Put32(h, 0x73524742);             // 'sRGB'
    while (h.size() < spec.headerSize) h.append('\0');
  } else if (spec.compression == BitFields) {
    for (quint32 m : spec.masks) Put32(h, m);  // follow the 40-byte header
  }
  return h;
}

}  // namespace

QByteArray Write(const Spec& spec) {
  const bool runs = spec.compression == Rle8 || spec.compression == Rle4;
  const QByteArray pixels = runs ? RunLengthRows(spec) : PlainRows(spec);
  const QByteArray info = InfoHeader(spec, int(pixels.size()));
  QList<QRgb> colours = spec.palette;
  if (spec.headerSize == 12 && !colours.isEmpty())  // core files carry no colour count: full tables
    while (colours.size() < (1 << spec.bitCount)) colours.append(0);
  QByteArray palette;
  for (QRgb c : colours) {
    palette.append(char(qBlue(c))); palette.append(char(qGreen(c))); palette.append(char(qRed(c)));
    if (spec.headerSize != 12) palette.append('\0');
  }
  QByteArray file("BM");
  const int offset = 14 + int(info.size()) + int(palette.size());
  Put32(file, quint32(offset + pixels.size()));
  Put32(file, 0);
  Put32(file, quint32(offset));
  return file + info + palette + pixels;
}

}  // namespace BmpFixtureWriter
