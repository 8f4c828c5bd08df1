#include "BitmapCodec.h"

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

}  // namespace

bool BitmapCodec::Decode(QIODevice& device, const RasterImage& target, const QString& what) {
  if (!target.pixels) return false;
  QByteArray bytes = TakeFileBytes(device, what);
  if (bytes.isEmpty()) return false;
  QBuffer file(&bytes);
  file.open(QIODevice::ReadOnly);
  QImageReader reader(&file, "bmp");
  reader.setAllocationLimit(int(VirtualBuffer::MaxPixels * 4 / (1024 * 1024)));
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > VirtualBuffer::MaxSide || size.height() > VirtualBuffer::MaxSide ||
      std::int64_t(size.width()) * size.height() > VirtualBuffer::MaxPixels) {
    TMsgLog::Add(QStringLiteral("%1 - BMP size %2 x %3 refused").arg(what).arg(size.width()).arg(size.height()));
    return false;
  }
  if (size.width() != target.width || size.height() != target.height) {
    TMsgLog::Add(QStringLiteral("%1 - BMP of %2 x %3 does not fit %4 x %5")
                     .arg(what).arg(size.width()).arg(size.height()).arg(target.width).arg(target.height));
    return false;
  }
  QImage image = reader.read();
  if (image.isNull() || image.size() != size) {
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
