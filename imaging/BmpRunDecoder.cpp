#include "BmpRunDecoder.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t ChunkBytes = 64 * 1024;
constexpr std::uint32_t Black = 1;

QString CutShort() { return QStringLiteral("BMP pixel data cut short"); }

// A run of one colour, in whole groups of eight while the row has room for them: the few
// pixels past the run are written again by the codes that follow.
void FillRun(std::uint32_t* to, int count, int room, std::uint32_t colour) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i v = _mm_set1_epi32(int(colour));
  for (; i < count && i + 8 <= room; i += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 4), v);
  }
#endif
  for (; i < count; ++i) to[i] = colour;
}

// Indices one by one, in whole groups of eight while room pixels and bytes allow it; the
// same about the pixels past the run.
void LookUpRun(std::uint32_t* to, const uchar* from, int count, std::ptrdiff_t room, const std::uint32_t* palette) {
  int i = 0;
  for (; i < count && i + 8 <= room; i += 8)
    for (int k = 0; k < 8; ++k) to[i + k] = palette[from[i + k]];
  for (; i < count; ++i) to[i] = palette[from[i]];
}

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

bool BmpRunDecoder::Refill(int count) {
  std::memmove(chunk.data(), chunk.data() + at, end - at);
  end -= at;
  at = 0;
  const qint64 wanted = std::min<qint64>(left, qint64(chunk.size() - end));
  const qint64 got = wanted > 0 ? device.read(reinterpret_cast<char*>(chunk.data() + end), wanted) : 0;
  if (got > 0) {
    end += std::size_t(got);
    left -= got;
  }
  return end >= std::size_t(count);
}

std::uint32_t* BmpRunDecoder::LineOf(int fileRow) const {
  return target.Row(topDown ? fileRow : target.height - 1 - fileRow);
}

void BmpRunDecoder::Blacken(int count) {
  std::fill_n(line + x, count, Black);
  x += count;
}

// Everything between here and the new position turns black.
void BmpRunDecoder::MoveTo(int newX, int newRow) {
  if (newRow == row) {
    Blacken(newX - x);
    return;
  }
  Blacken(target.width - x);
  for (++row; row < newRow; ++row) std::fill_n(LineOf(row), target.width, Black);
  x = 0;
  if (row < target.height) {
    line = LineOf(row);
    Blacken(newX);
  }
}

bool BmpRunDecoder::Decode(QString& fault) {
  line = LineOf(0);
  while (row < target.height) {
    if (!fourBits) QuickRuns();
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
      Encoded(count, escape);
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

// The codes most of an RLE8 file is made of, runs of one index and pixels one by one
// inside the row, decoded in one tight loop while the chunk holds the longest code whole.
// Stops before anything else (escapes, a run past the row, the chunk's end), which the
// general step then takes.
void BmpRunDecoder::QuickRuns() {
  const uchar* p = chunk.data() + at;
  const uchar* const stop = chunk.data() + end - 2 - 256;
  const uchar* const bytesEnd = chunk.data() + chunk.size();
  const int width = target.width;
  int column = x;
  while (p < stop) {
    const int count = p[0], second = p[1];
    if (count) {
      if (column + count > width) break;
      FillRun(line + column, count, width - column, palette[second]);
      column += count;
      p += 2;
      continue;
    }
    if (second < 3 || column + second > width) break;
    LookUpRun(line + column, p + 2, second, std::min<std::ptrdiff_t>(width - column, bytesEnd - p - 2), palette);
    column += second;
    p += 2 + second + (second & 1);
  }
  at = std::size_t(p - chunk.data());
  x = column;
}

// count pixels of one index (RLE8) or of two alternating ones (RLE4).
void BmpRunDecoder::Encoded(int count, int value) {
  const int room = target.width - x;
  const int kept = std::min(count, room);
  std::uint32_t* to = line + x;
  if (!fourBits)
    FillRun(to, kept, room, palette[value]);
  else
    for (int i = 0; i < kept; ++i) to[i] = palette[i & 1 ? value & 15 : value >> 4];
  x += kept;
}

// count pixels given one by one, their bytes padded to a whole word.
bool BmpRunDecoder::Absolute(int count, QString& fault) {
  const int room = target.width - x;
  const int bytes = fourBits ? (count + 1) / 2 : count;
  const uchar* from;
  if (!Take(bytes + (bytes & 1), from)) {
    fault = CutShort();
    return false;
  }
  std::uint32_t* to = line + x;
  const int kept = std::min(count, room);
  if (fourBits) {
    for (int i = 0; i < kept; ++i) to[i] = palette[from[i >> 1] >> (i & 1 ? 0 : 4) & 15];
  } else {
    LookUpRun(to, from, kept, std::min<std::ptrdiff_t>(room, chunk.data() + chunk.size() - from), palette);
  }
  x += kept;
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
