#include "WmfBitmap.h"

#include <QtEndian>

#include <cstdint>

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableBytes = 22;
constexpr int kHeaderWords = 9;
constexpr int kRecordHeaderBytes = 6;  // size in 16-bit words, then the function

constexpr std::uint16_t kEof = 0x0000;
constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kStretchDib = 0x0F43;
constexpr std::uint16_t kDibStretchBlt = 0x0B41;
constexpr std::uint16_t kDibBitBlt = 0x0940;
constexpr std::uint16_t kSetDibToDev = 0x0D33;

std::uint16_t Word(QByteArrayView data, qsizetype at) {
  return qFromLittleEndian<std::uint16_t>(data.data() + at);
}
std::uint32_t Long(QByteArrayView data, qsizetype at) {
  return qFromLittleEndian<std::uint32_t>(data.data() + at);
}

// Where a bitmap record's DIB starts, counted from the record's start; 0 for other records.
// The blits have a form without a bitmap, told by its size: the function's high byte + 3.
qsizetype DibOffset(std::uint16_t function, std::uint32_t words) {
  switch (function) {
    case kStretchDib: return kRecordHeaderBytes + 4 + 2 + 8 * 2;
    case kDibStretchBlt: return words == (kDibStretchBlt >> 8) + 3u ? 0 : kRecordHeaderBytes + 4 + 8 * 2;
    case kDibBitBlt: return words == (kDibBitBlt >> 8) + 3u ? 0 : kRecordHeaderBytes + 4 + 6 * 2;
    case kSetDibToDev: return kRecordHeaderBytes + 9 * 2;
    default: return 0;
  }
}

void PutWord(QByteArray& out, std::uint16_t value) {
  const char bytes[2] = {char(value & 0xFF), char(value >> 8)};
  out.append(bytes, 2);
}
void PutLong(QByteArray& out, std::uint32_t value) {
  PutWord(out, std::uint16_t(value & 0xFFFF));
  PutWord(out, std::uint16_t(value >> 16));
}

}  // namespace

bool WmfBitmap::FindDib(QByteArrayView wmf, QByteArrayView& dib, QString& fault) {
  qsizetype at = 0;
  if (wmf.size() >= kPlaceableBytes && Long(wmf, 0) == kPlaceableKey) at = kPlaceableBytes;
  if (wmf.size() - at < kHeaderWords * 2 || Word(wmf, at + 2) != kHeaderWords) {
    fault = QStringLiteral("no metafile header");
    return false;
  }
  at += kHeaderWords * 2;
  while (wmf.size() - at >= kRecordHeaderBytes) {
    const std::uint32_t words = Long(wmf, at);
    const std::uint16_t function = Word(wmf, at + 4);
    if (function == kEof) break;
    // A record of fewer words than its own header would never advance, or go backwards.
    if (words < kRecordHeaderBytes / 2 || words > std::uint64_t(wmf.size() - at) / 2) {
      fault = QStringLiteral("metafile record of %1 words at byte %2 does not fit").arg(words).arg(at);
      return false;
    }
    const qsizetype bytes = qsizetype(words) * 2;
    const qsizetype offset = DibOffset(function, words);
    if (offset > 0) {
      if (offset >= bytes) {
        fault = QStringLiteral("metafile bitmap record of %1 words holds no bitmap").arg(words);
        return false;
      }
      dib = wmf.sliced(at + offset, bytes - offset);
      return true;
    }
    at += bytes;
  }
  fault = QStringLiteral("metafile without a bitmap");
  return false;
}

QByteArray WmfBitmap::Wrap(QByteArrayView dib, int width, int height) {
  const std::uint32_t dibWords = std::uint32_t((dib.size() + 1) / 2);
  const std::uint32_t stretchWords = 3 + 2 + 1 + 8 + dibWords;
  QByteArray out;
  out.reserve(kHeaderWords * 2 + 2 * 10 + qsizetype(stretchWords) * 2 + 6);
  // The header: a metafile on disk, version 3, its size in words, no objects.
  const std::uint32_t totalWords = kHeaderWords + 5 + 5 + stretchWords + 3;
  PutWord(out, 1), PutWord(out, kHeaderWords), PutWord(out, 0x0300), PutLong(out, totalWords);
  PutWord(out, 0), PutLong(out, stretchWords), PutWord(out, 0);
  PutLong(out, 5), PutWord(out, kSetWindowOrg), PutWord(out, 0), PutWord(out, 0);
  PutLong(out, 5), PutWord(out, kSetWindowExt), PutWord(out, std::uint16_t(height)), PutWord(out, std::uint16_t(width));
  PutLong(out, stretchWords), PutWord(out, kStretchDib);
  PutLong(out, 0x00CC0020);  // SRCCOPY
  PutWord(out, 0);           // DIB_RGB_COLORS
  for (const int value : {height, width, 0, 0, height, width, 0, 0}) PutWord(out, std::uint16_t(value));
  out.append(dib.data(), dib.size());
  if (dib.size() % 2) out.append('\0');
  PutLong(out, 3), PutWord(out, kEof);
  return out;
}
