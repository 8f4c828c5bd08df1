#pragma once
// The headers of a BMP file: the 12-byte core header and the 40, 52, 56, 108 and 124-byte
// ones. Everything they say is checked against itself and against the bytes the file has
// before a pixel is decoded or a buffer allocated: the size against the buffer caps, the
// pixel format, the masks, the palette against the pixel data, and uncompressed pixel data
// against the file's length.

#include <QString>
#include <QtGlobal>
#include <array>

class QIODevice;

struct BmpHeader {
  enum Compression { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };
  static constexpr int FileHeaderBytes = 14;

  qint64 extent = 0;         // the file's bytes from its first one
  qint64 paletteOffset = 0;  // from the file's start: where the headers end
  qint64 pixelOffset = 0;
  int infoBytes = 0;  // the info header's own size
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  int compression = Rgb;
  int paletteEntries = 0;  // entries the pixels may use, at most 2^bitCount
  int paletteEntryBytes = 4;
  std::array<quint32, 3> masks{};  // red, green, blue, for 16 and 32 bits

  bool RunLength() const { return compression == Rle8 || compression == Rle4; }
  // An uncompressed row with its padding to a multiple of 4 bytes.
  qint64 RowBytes() const { return (qint64(width) * bitCount + 31) / 32 * 4; }

  // Reads the headers (and bit-field masks) at the device's position, leaving it just after
  // them. The file's extent is its recorded size when that is plausible, else everything
  // the device has left. False, with fault saying what is wrong, when anything is unusable.
  static bool Read(QIODevice& device, BmpHeader& header, QString& fault);

private:
  bool ReadInfo(const uchar* info, QString& fault);
  bool CheckFormat(QString& fault);
  bool CheckMasks(QString& fault) const;
  bool CheckLayout(QString& fault) const;
};
