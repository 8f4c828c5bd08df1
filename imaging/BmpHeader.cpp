#include "BmpHeader.h"

#include "ImageFileHeader.h"

#include <QIODevice>
#include <QtEndian>

namespace {

constexpr int CoreBytes = 12;
constexpr int InfoBytes = 40;
constexpr int MaskBytes = 12;
constexpr int LargestInfo = 124;

bool KnownInfoSize(quint32 size) {
  return size == CoreBytes || size == InfoBytes || size == 52 || size == 56 || size == 108 || size == LargestInfo;
}

quint32 U32(const uchar* at) { return qFromLittleEndian<quint32>(at); }
quint16 U16(const uchar* at) { return qFromLittleEndian<quint16>(at); }

bool Contiguous(quint32 mask) {
  if (mask == 0) return true;
  const quint32 low = mask >> qCountTrailingZeroBits(mask);
  return (low & (low + 1)) == 0;
}

}  // namespace

bool BmpHeader::Read(QIODevice& device, BmpHeader& header, QString& fault) {
  const qint64 left = device.isSequential() ? device.bytesAvailable() : device.size() - device.pos();
  uchar head[FileHeaderBytes + 4];
  if (device.read(reinterpret_cast<char*>(head), sizeof head) != qint64(sizeof head) || head[0] != 'B' ||
      head[1] != 'M') {
    fault = QStringLiteral("not a BMP file");
    return false;
  }
  const qint64 recorded = U32(head + 2);
  header.extent = recorded >= FileHeaderBytes + CoreBytes && recorded <= left ? recorded : left;
  header.pixelOffset = U32(head + 10);
  if (header.pixelOffset < FileHeaderBytes + CoreBytes || header.pixelOffset >= header.extent) {
    fault = QStringLiteral("BMP pixel offset %1 outside the file's %2 bytes").arg(header.pixelOffset).arg(header.extent);
    return false;
  }
  const quint32 infoSize = U32(head + FileHeaderBytes);
  uchar info[LargestInfo + MaskBytes] = {};
  qToLittleEndian(infoSize, info);
  if (!KnownInfoSize(infoSize)) {
    fault = QStringLiteral("BMP header unusable or its size refused");
    return false;
  }
  header.infoBytes = int(infoSize);
  // A 40-byte header keeps its bit-field masks right after itself.
  int wanted = header.infoBytes - 4;
  if (header.infoBytes == InfoBytes && device.peek(reinterpret_cast<char*>(info + 4), 16) == 16 &&
      U32(info + 16) == BitFields)
    wanted += MaskBytes;
  if (device.read(reinterpret_cast<char*>(info + 4), wanted) != wanted) {
    fault = QStringLiteral("BMP header unusable or its size refused");
    return false;
  }
  header.paletteOffset = FileHeaderBytes + 4 + wanted;
  return header.ReadInfo(info, fault) && header.CheckFormat(fault) && header.CheckMasks(fault) &&
         header.CheckLayout(fault);
}

bool BmpHeader::ReadInfo(const uchar* info, QString& fault) {
  qint64 w, h;
  if (infoBytes == CoreBytes) {
    w = U16(info + 4);
    h = U16(info + 6);
    bitCount = U16(info + 10);
    compression = Rgb;
  } else {
    w = qFromLittleEndian<qint32>(info + 4);
    h = qFromLittleEndian<qint32>(info + 8);
    bitCount = U16(info + 14);
    const quint32 kind = U32(info + 16);
    compression = kind <= BitFields ? int(kind) : -1;
    masks = {U32(info + 40), U32(info + 44), U32(info + 48)};  // zero where the file has none
  }
  topDown = h < 0;
  if (topDown) h = -h;
  if (!ImageFileHeader::Acceptable(w, h)) {
    fault = QStringLiteral("BMP header unusable or its size refused");
    return false;
  }
  width = int(w);
  height = int(h);
  const quint32 used = infoBytes == CoreBytes ? 0 : U32(info + 32);
  if (bitCount >= 1 && bitCount <= 8)
    paletteEntries = used == 0 || used > (1u << bitCount) ? 1 << bitCount : int(used);
  paletteEntryBytes = infoBytes == CoreBytes ? 3 : 4;
  return true;
}

// Which bit counts go with which compression; the masks that plain 16 and 32 bits imply.
bool BmpHeader::CheckFormat(QString& fault) {
  bool known;
  if (infoBytes == CoreBytes)
    known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
  else if (compression == Rgb)
    known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
  else
    known = (compression == Rle8 && bitCount == 8) || (compression == Rle4 && bitCount == 4) ||
            (compression == BitFields && (bitCount == 16 || bitCount == 32));
  if (!known) {
    fault = QStringLiteral("BMP of %1 bits with compression %2 not supported").arg(bitCount).arg(compression);
    return false;
  }
  if (compression == Rgb && bitCount == 16) masks = {0x7C00, 0x03E0, 0x001F};
  if (compression == Rgb && bitCount >= 24) masks = {0xFF0000, 0xFF00, 0xFF};
  return true;
}

bool BmpHeader::CheckMasks(QString& fault) const {
  if (compression != BitFields) return true;
  const quint32 outside = bitCount == 16 ? 0xFFFF0000u : 0;
  for (quint32 mask : masks) {
    if ((mask & outside) || !Contiguous(mask)) {
      fault = QStringLiteral("BMP bit-field masks unusable");
      return false;
    }
  }
  return true;
}

bool BmpHeader::CheckLayout(QString& fault) const {
  const qint64 paletteEnd = paletteOffset + qint64(paletteEntries) * paletteEntryBytes;
  if (pixelOffset < paletteEnd) {
    fault = paletteEntries ? QStringLiteral("BMP palette overlaps the pixel data")
                           : QStringLiteral("BMP pixel offset %1 inside its headers").arg(pixelOffset);
    return false;
  }
  // Run-length data may cover the picture with a few codes; only uncompressed data has a
  // length known before decoding.
  if (!RunLength() && pixelOffset + RowBytes() * height > extent) {
    fault = QStringLiteral("BMP pixel data cut short");
    return false;
  }
  return true;
}
