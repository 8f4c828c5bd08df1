#include "ImageFileHeader.h"

#include "VirtualBuffer.h"

#include <QIODevice>
#include <QtEndian>
#include <cstdlib>

namespace {

bool ReadByte(QIODevice& file, int& value) {
  char c;
  if (!file.getChar(&c)) return false;
  value = static_cast<unsigned char>(c);
  return true;
}

bool ReadBigEndian16(QIODevice& file, int& value) {
  int high, low;
  if (!ReadByte(file, high) || !ReadByte(file, low)) return false;
  value = high << 8 | low;
  return true;
}

bool IsFrameMarker(int marker) {
  // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool StandsAlone(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

bool ImageFileHeader::Acceptable(long long width, long long height) {
  return width > 0 && height > 0 && width <= VirtualBuffer::MaxSide && height <= VirtualBuffer::MaxSide &&
         width * height <= VirtualBuffer::MaxPixels;
}

bool ImageFileHeader::BmpSize(QIODevice& file, int& width, int& height) {
  const QByteArray head = file.read(26);
  if (head.size() < 26 || !head.startsWith("BM")) return false;
  const auto* raw = reinterpret_cast<const uchar*>(head.constData());
  const quint32 headerSize = qFromLittleEndian<quint32>(raw + 14);
  long long w, h;
  if (headerSize == 12) {
    w = qFromLittleEndian<quint16>(raw + 18);
    h = qFromLittleEndian<quint16>(raw + 20);
  } else if (headerSize >= 40) {
    w = qFromLittleEndian<qint32>(raw + 18);
    h = std::llabs(qFromLittleEndian<qint32>(raw + 22));  // negative: rows top-down
  } else {
    return false;
  }
  if (!Acceptable(w, h)) return false;
  width = int(w);
  height = int(h);
  return true;
}

int ImageFileHeader::FindFrameHeader(QIODevice& file, int& width, int& height) {
  int first, second;
  if (!ReadByte(file, first) || !ReadByte(file, second) || first != 0xFF || second != 0xD8) return 0;
  for (;;) {
    int marker;
    if (!ReadByte(file, marker) || marker != 0xFF) return 0;
    while (marker == 0xFF)  // fill bytes
      if (!ReadByte(file, marker)) return 0;
    if (StandsAlone(marker)) continue;
    if (marker == 0xDA || marker == 0xD9 || marker == 0xD8) return 0;  // scan data, end, or nonsense
    int length;
    if (!ReadBigEndian16(file, length) || length < 2) return 0;
    if (IsFrameMarker(marker)) {
      int precision, h, w;
      if (length < 8 || !ReadByte(file, precision) || !ReadBigEndian16(file, h) || !ReadBigEndian16(file, w)) return 0;
      if (!Acceptable(w, h)) return 0;
      width = w;
      height = h;
      return marker;
    }
    if (file.skip(length - 2) != length - 2) return 0;
  }
}

bool ImageFileHeader::JpegSize(QIODevice& file, int& width, int& height) {
  int w = 0, h = 0;
  if (!FindFrameHeader(file, w, h)) return false;
  width = w;
  height = h;
  return true;
}

bool ImageFileHeader::IsBaselineJpeg(QIODevice& file) {
  int w = 0, h = 0;
  return FindFrameHeader(file, w, h) == 0xC0;
}
