#include "BmpRunDecoder.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t ChunkBytes = 64 * 1024;
constexpr std::uint32_t Black = 1;

QString CutShort() { return QStringLiteral("BMP pixel data cut short"); }
QString PastRow() { return QStringLiteral("BMP run-length data writes past a row"); }

}  // namespace

BmpRunDecoder::BmpRunDecoder(QIODevice& source, qint64 bytes, const RasterImage& image, bool rowsTopDown,
                             bool nibbles, const std::uint32_t* colours)
    : device(source),
      left(bytes),
      target(image),
      topDown(rowsTopDown),
      fourBits(nibbles),
      palette(colours),
      chunk(ChunkBytes) {}

// Makes count bytes (at most 256) lie together in the chunk; false when the data ends first.
bool BmpRunDecoder::Take(int count, const uchar*& bytes) {
  if (end - at < std::size_t(count)) {
    std::memmove(chunk.data(), chunk.data() + at, end - at);
    end -= at;
    at = 0;
    const qint64 wanted = std::min<qint64>(left, qint64(chunk.size() - end));
    const qint64 got = wanted > 0 ? device.read(reinterpret_cast<char*>(chunk.data() + end), wanted) : 0;
    if (got > 0) {
      end += std::size_t(got);
      left -= got;
    }
    if (end < std::size_t(count)) return false;
  }
  bytes = chunk.data() + at;
  at += std::size_t(count);
  return true;
}

std::uint32_t* BmpRunDecoder::Here() const {
  return target.Row(topDown ? row : target.height - 1 - row) + x;
}

void BmpRunDecoder::Blacken(int count) {
  std::fill_n(Here(), count, Black);
  x += count;
}

// Everything between here and the new position turns black.
void BmpRunDecoder::MoveTo(int newX, int newRow) {
  if (newRow == row) {
    Blacken(newX - x);
    return;
  }
  Blacken(target.width - x);
  for (x = 0, ++row; row < newRow; ++row) Blacken(target.width), x = 0;
  if (row < target.height) Blacken(newX);
}

bool BmpRunDecoder::Decode(QString& fault) {
  while (row < target.height) {
    const uchar* code;
    if (!Take(2, code)) {
      // A last row filled to its end needs no end-of-line code.
      if (row == target.height - 1 && x == target.width) return true;
      fault = CutShort();
      return false;
    }
    const int count = code[0], escape = code[1];
    bool ok = true;
    if (count)
      ok = Encoded(count, escape, fault);
    else if (escape == 0)
      MoveTo(0, row + 1);  // end of line
    else if (escape == 1)
      MoveTo(0, target.height);  // end of bitmap
    else if (escape == 2)
      ok = Delta(fault);
    else
      ok = Absolute(escape, fault);
    if (!ok) return false;
  }
  return true;
}

// count pixels of one index (RLE8) or of two alternating ones (RLE4).
bool BmpRunDecoder::Encoded(int count, int value, QString& fault) {
  if (x + count > target.width) {
    fault = PastRow();
    return false;
  }
  std::uint32_t* to = Here();
  if (!fourBits) {
    std::fill_n(to, count, palette[value]);
  } else {
    const std::uint32_t pair[2] = {palette[value >> 4], palette[value & 15]};
    for (int i = 0; i < count; ++i) to[i] = pair[i & 1];
  }
  x += count;
  return true;
}

// count pixels given one by one, their bytes padded to a whole word.
bool BmpRunDecoder::Absolute(int count, QString& fault) {
  if (x + count > target.width) {
    fault = PastRow();
    return false;
  }
  const int bytes = fourBits ? (count + 1) / 2 : count;
  const uchar* from;
  if (!Take(bytes + (bytes & 1), from)) {
    fault = CutShort();
    return false;
  }
  std::uint32_t* to = Here();
  if (!fourBits)
    for (int i = 0; i < count; ++i) to[i] = palette[from[i]];
  else
    for (int i = 0; i < count; ++i) to[i] = palette[from[i >> 1] >> (i & 1 ? 0 : 4) & 15];
  x += count;
  return true;
}

bool BmpRunDecoder::Delta(QString& fault) {
  const uchar* step;
  if (!Take(2, step)) {
    fault = CutShort();
    return false;
  }
  const int newX = x + step[0], newRow = row + step[1];
  if (newX > target.width || newRow >= target.height) {
    fault = QStringLiteral("BMP run-length data moves past the picture");
    return false;
  }
  MoveTo(newX, newRow);
  return true;
}
