#include "BitmapCodec.h"

#include "BmpHeader.h"
#include "BmpRowConverter.h"
#include "BmpRunDecoder.h"
#include "DecodeRefusal.h"
#include "PictureRows.h"
#include "Yelk/TMsgLog.h"

#include <QIODevice>
#include <QImage>
#include <QImageWriter>
#include <array>
#include <new>
#include <vector>

namespace {

bool Refuse(const QString& what, const QString& fault) {
  TMsgLog::Add(QStringLiteral("%1 - %2").arg(what, fault));
  DecodeRefusal::Report(fault);
  return false;
}

// The stored value of every index; indices past the file's own entries are black.
bool ReadPalette(QIODevice& device, const BmpHeader& header, std::array<std::uint32_t, 256>& palette) {
  palette.fill(1);
  uchar bytes[256 * 4];
  const qint64 size = qint64(header.paletteEntries) * header.paletteEntryBytes;
  if (device.read(reinterpret_cast<char*>(bytes), size) != size) return false;
  for (int i = 0; i < header.paletteEntries; ++i) {
    const uchar* entry = bytes + i * header.paletteEntryBytes;  // B, G, R
    palette[i] = PicturePixel(std::uint32_t(entry[2]) << 16 | std::uint32_t(entry[1]) << 8 | entry[0]);
  }
  return true;
}

// Uncompressed rows, in file order, each through one row of memory.
bool ReadRows(QIODevice& device, const BmpHeader& header, const std::array<std::uint32_t, 256>& palette,
              const RasterImage& target) {
  const BmpRowConverter converter(header, palette);
  const qint64 rowBytes = header.RowBytes();
  std::vector<uchar> row(std::size_t(rowBytes) + BmpRowConverter::Slack);
  for (int i = 0; i < header.height; ++i) {
    if (device.read(reinterpret_cast<char*>(row.data()), rowBytes) != rowBytes) return false;
    converter.Convert(row.data(), target.Row(header.topDown ? i : header.height - 1 - i));
  }
  return true;
}

// Decodes the pixels after the headers; the device is left somewhere inside the file.
bool DecodePixels(QIODevice& device, qint64 start, const BmpHeader& header, const RasterImage& target,
                  QString& fault) {
  fault = QStringLiteral("BMP pixel data cut short");
  std::array<std::uint32_t, 256> palette;
  if (!ReadPalette(device, header, palette)) return false;
  const qint64 gap = start + header.pixelOffset - device.pos();
  if (gap < 0 || device.skip(gap) != gap) return false;
  if (header.RunLength())
    return BmpRunDecoder(device, header.extent - header.pixelOffset, target, header.topDown,
                         header.compression == BmpHeader::Rle4, palette.data())
        .Decode(fault);
  return ReadRows(device, header, palette, target);
}

// Leaves the device just after the file's bytes.
void SkipToEnd(QIODevice& device, qint64 end) {
  if (!device.isSequential())
    device.seek(end);
  else if (end > device.pos())
    device.skip(end - device.pos());
}

}  // namespace

bool BitmapCodec::Decode(QIODevice& device, const RasterImage& target, const QString& what) {
  if (!target.pixels) return false;
  const qint64 start = device.pos();
  BmpHeader header;
  QString fault;
  if (!BmpHeader::Read(device, header, fault)) return Refuse(what, fault);
  if (header.width != target.width || header.height != target.height)
    return Refuse(what, QStringLiteral("BMP of %1 x %2 does not fit %3 x %4")
                            .arg(header.width).arg(header.height).arg(target.width).arg(target.height));
  try {
    if (!DecodePixels(device, start, header, target, fault)) return Refuse(what, fault);
  } catch (const std::bad_alloc&) {
    return Refuse(what, QStringLiteral("out of memory for a BMP row"));
  }
  SkipToEnd(device, start + header.extent);
  return true;
}

bool BitmapCodec::Encode(const RasterImage& image, QIODevice& device, const QString& what) {
  if (!image.pixels) return false;
  // The memory as it lies is the picture upside down; Qt writes 24-bit files from RGB32.
  const QImage view(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
                    image.width * 4, QImage::Format_RGB32);
  QImageWriter writer(&device, "bmp");
  if (!writer.write(view.mirrored(false, true))) {
    TMsgLog::Add(QStringLiteral("%1 - BMP not written: %2").arg(what, writer.errorString()));
    return false;
  }
  return true;
}
