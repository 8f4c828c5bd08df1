#pragma once
// Run-length coded BMP pixels (RLE8 and RLE4) straight into a picture's rows, read from
// the device in chunks. Every pixel is written exactly once: what the codes skip (the rest
// of a row at an end of line, the gap of a delta, everything after the end of the bitmap)
// becomes black, stored as 1. Pixels a code gives past a row's end are dropped: common
// encoders code the pad pixel of an odd-width row, and every viewer shows such files. A
// move past a row or the picture, and data that ends before the picture does, are faults.

#include "RasterLibrary.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <vector>

class QIODevice;

class BmpRunDecoder {
public:
  // bytes: how much of the device the run data may take; palette: the stored value of
  // every index.
  BmpRunDecoder(QIODevice& device, qint64 bytes, const RasterImage& target, bool topDown, bool fourBits,
                const std::uint32_t* palette);
  // False with fault set when the data is unusable; the rows then hold what was decoded.
  bool Decode(QString& fault);

private:
  // Makes count bytes (at most 256) lie together in the chunk; false when the data ends first.
  bool Take(int count, const uchar*& bytes) {
    if (end - at < std::size_t(count) && !Refill(count)) return false;
    bytes = chunk.data() + at;
    at += std::size_t(count);
    return true;
  }
  bool Refill(int count);
  std::uint32_t* LineOf(int fileRow) const;
  void Blacken(int count);
  void MoveTo(int newX, int newRow);
  void QuickRuns();
  void Encoded(int count, int value);
  bool Absolute(int count, QString& fault);
  bool Delta(QString& fault);

  QIODevice& device;
  qint64 left;  // run data still in the device
  RasterImage target;
  bool topDown;
  bool fourBits;
  const std::uint32_t* palette;
  std::vector<uchar> chunk;
  std::size_t at = 0, end = 0;  // unread bytes of the chunk
  int x = 0, row = 0;           // the next pixel; rows counted in file order
  std::uint32_t* line = nullptr;  // the memory of that row
};
