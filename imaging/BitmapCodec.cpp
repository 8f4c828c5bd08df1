#include "BitmapCodec.h"

#include "ImageFileHeader.h"
#include "PictureRows.h"
#include "VirtualBuffer.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {

constexpr int FileHeaderBytes = 14;
constexpr int CoreHeaderBytes = 12;

// The bytes of the BMP file at the device's position: its recorded size when that is
// plausible, else everything left. Empty when the file header is unusable.
QByteArray TakeFileBytes(QIODevice& device, const QString& what) {
  const QByteArray header = device.peek(FileHeaderBytes);
  if (header.size() < FileHeaderBytes || !header.startsWith("BM")) {
    TMsgLog::Add(QStringLiteral("%1 - not a BMP file").arg(what));
    return {};
  }
  const auto* raw = reinterpret_cast<const uchar*>(header.constData());
  const qint64 recorded = qFromLittleEndian<quint32>(raw + 2);
  const qint64 pixelsAt = qFromLittleEndian<quint32>(raw + 10);
  const qint64 left = device.isSequential() ? device.bytesAvailable() : device.size() - device.pos();
  const bool recordedFits = recorded >= FileHeaderBytes + CoreHeaderBytes && recorded <= left;
  const qint64 extent = recordedFits ? recorded : left;
  if (pixelsAt < FileHeaderBytes + CoreHeaderBytes || pixelsAt >= extent) {
    TMsgLog::Add(QStringLiteral("%1 - BMP pixel offset %2 outside the file's %3 bytes").arg(what).arg(pixelsAt).arg(extent));
    return {};
  }
  return device.read(extent);
}

// Walks run-length codes until the end-of-bitmap mark or the last row; false when the data
// ends first.
bool RunsComplete(const uchar* data, qint64 size, qint64 rows, bool fourBits) {
  qint64 at = 0, row = 0;
  while (row < rows) {
    if (at + 2 > size) return false;
    const int count = data[at], code = data[at + 1];
    at += 2;
    if (count) continue;  // an encoded run
    if (code == 0) ++row;
    else if (code == 1) return true;
    else if (code == 2) { if (at + 2 > size) return false; row += data[at + 1]; at += 2; }
    else {
      const qint64 bytes = fourBits ? (code + 1) / 2 : code;  // an absolute run, padded to a word
      at += bytes + (bytes & 1);
    }
  }
  return true;
}

// The file holds all the pixel data its header promises.
bool PixelDataComplete(const QByteArray& file) {
  if (file.size() < FileHeaderBytes + CoreHeaderBytes) return false;
  const auto* raw = reinterpret_cast<const uchar*>(file.constData());
  const qint64 pixelsAt = qFromLittleEndian<quint32>(raw + 10);
  const quint32 headerSize = qFromLittleEndian<quint32>(raw + 14);
  const bool core = headerSize == CoreHeaderBytes;
  if (!core && (headerSize < 40 || file.size() < FileHeaderBytes + 40)) return false;
  const qint64 width = core ? qFromLittleEndian<quint16>(raw + 18) : qFromLittleEndian<qint32>(raw + 18);
  const qint64 height = core ? qFromLittleEndian<quint16>(raw + 20) : qFromLittleEndian<qint32>(raw + 22);
  const int bitCount = qFromLittleEndian<quint16>(raw + (core ? 24 : 28));
  const quint32 compression = core ? 0 : qFromLittleEndian<quint32>(raw + 30);
  const qint64 rows = height < 0 ? -height : height;
  const qint64 left = file.size() - pixelsAt;
  if (compression == 1 || compression == 2)
    return RunsComplete(raw + pixelsAt, left, rows, compression == 2);
  const qint64 stride = (width * bitCount + 31) / 32 * 4;
  return stride * rows <= left;
}

}  // namespace

bool BitmapCodec::Decode(QIODevice& device, const RasterImage& target, const QString& what) {
  if (!target.pixels) return false;
  QByteArray bytes = TakeFileBytes(device, what);
  if (bytes.isEmpty()) return false;
  QBuffer file(&bytes);
  file.open(QIODevice::ReadOnly);
  int w = 0, h = 0;
  if (!ImageFileHeader::BmpSize(file, w, h)) {
    TMsgLog::Add(QStringLiteral("%1 - BMP header unusable or its size refused").arg(what));
    return false;
  }
  if (w != target.width || h != target.height) {
    TMsgLog::Add(QStringLiteral("%1 - BMP of %2 x %3 does not fit %4 x %5")
                     .arg(what).arg(w).arg(h).arg(target.width).arg(target.height));
    return false;
  }
  if (!PixelDataComplete(bytes)) {
    TMsgLog::Add(QStringLiteral("%1 - BMP pixel data cut short").arg(what));
    return false;
  }
  file.seek(0);
  QImageReader reader(&file, "bmp");
  reader.setAllocationLimit(int(VirtualBuffer::MaxPixels * 4 / (1024 * 1024)));
  QImage image = reader.read();
  if (image.isNull() || image.width() != w || image.height() != h) {
    TMsgLog::Add(QStringLiteral("%1 - BMP not readable: %2").arg(what, reader.errorString()));
    return false;
  }
  image.convertTo(QImage::Format_RGB32);
  for (int y = 0; y < target.height; ++y)
    StorePictureRow(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)), target.Row(y), target.width);
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
