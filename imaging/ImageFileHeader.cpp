#include "ImageFileHeader.h"

#include "BmpHeader.h"
#include "VirtualBuffer.h"

#include <QIODevice>

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

// The next marker code, skipping stray bytes before it as libjpeg does (with a warning):
// anything up to an 0xFF, fill bytes, and a stuffed 0xFF 0x00.
bool NextMarker(QIODevice& file, int& marker) {
  for (;;) {
    do {
      if (!ReadByte(file, marker)) return false;
    } while (marker != 0xFF);
    do {
      if (!ReadByte(file, marker)) return false;
    } while (marker == 0xFF);
    if (marker != 0) return true;
  }
}

bool StandsAlone(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

bool ImageFileHeader::Acceptable(long long width, long long height) {
  return width > 0 && height > 0 && width <= VirtualBuffer::MaxSide && height <= VirtualBuffer::MaxSide &&
         width * height <= VirtualBuffer::MaxPixels;
}

bool ImageFileHeader::BmpSize(QIODevice& file, int& width, int& height) {
  BmpHeader header;
  QString fault;
  if (!BmpHeader::Read(file, header, fault)) return false;
  width = header.width;
  height = header.height;
  return true;
}

int ImageFileHeader::FindFrameHeader(QIODevice& file, int& width, int& height) {
  int first, second;
  if (!ReadByte(file, first) || !ReadByte(file, second) || first != 0xFF || second != 0xD8) return 0;
  for (;;) {
    int marker;
    if (!NextMarker(file, marker)) return 0;
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
