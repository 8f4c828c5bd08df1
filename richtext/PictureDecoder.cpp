#include "PictureDecoder.h"

#include "WmfBitmap.h"
#include "Yelk/TMsgLog.h"
#include "imaging/BitmapCodec.h"
#include "imaging/BmpHeader.h"
#include "imaging/ImageFileHeader.h"
#include "imaging/JpegReader.h"
#include "imaging/VirtualBuffer.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kCoreHeaderBytes = 12;
constexpr int kInfoHeaderBytes = 40;

// Where a DIB's bits start after its headers and palette, as a BMP file header must say.
// The values are the file's: out-of-range ones give an offset BmpHeader refuses.
qint64 DibBitsOffset(QByteArrayView dib) {
  if (dib.size() < 4) return 0;
  const qint64 infoBytes = qFromLittleEndian<std::uint32_t>(dib.data());
  if (infoBytes == kCoreHeaderBytes) {
    if (dib.size() < kCoreHeaderBytes) return 0;
    const int bits = qFromLittleEndian<std::uint16_t>(dib.data() + 10);
    return infoBytes + (bits <= 8 ? qint64(3) << bits : 0);
  }
  if (infoBytes < kInfoHeaderBytes || dib.size() < kInfoHeaderBytes) return 0;
  const int bits = qFromLittleEndian<std::uint16_t>(dib.data() + 14);
  const std::uint32_t compression = qFromLittleEndian<std::uint32_t>(dib.data() + 16);
  const qint64 used = qFromLittleEndian<std::uint32_t>(dib.data() + 32);
  const qint64 entries = used != 0 ? used : bits <= 8 ? qint64(1) << bits : 0;
  const qint64 masks = infoBytes == kInfoHeaderBytes && compression == BmpHeader::BitFields ? 12 : 0;
  return infoBytes + masks + entries * 4;
}

QByteArray BmpFileHeader(qint64 fileSize, qint64 bitsOffset) {
  QByteArray header(BmpHeader::FileHeaderBytes, '\0');
  header[0] = 'B', header[1] = 'M';
  qToLittleEndian<std::uint32_t>(std::uint32_t(std::min<qint64>(fileSize, UINT32_MAX)), header.data() + 2);
  qToLittleEndian<std::uint32_t>(std::uint32_t(std::min<qint64>(bitsOffset, UINT32_MAX)), header.data() + 10);
  return header;
}

}  // namespace

QImage PictureDecoder::Refuse(const QString& fault) const {
  TMsgLog::Add(QStringLiteral("%1 - %2").arg(what_, fault));
  return {};
}

bool PictureDecoder::Fits(int width, int height) const {
  return ImageFileHeader::Acceptable(width, height) && qint64(width) * height * 4 <= maxBytes_;
}

// Decodes into a picture of the size the header names, which is checked first. The
// decoders write rows bottom-up, as the memory of a flipped picture lies.
template <typename SizeOf, typename DecodeInto>
QImage PictureDecoder::DecodeRows(QIODevice& device, const QString& kind, SizeOf sizeOf, DecodeInto decode) const {
  int width = 0, height = 0;
  const qint64 start = device.pos();
  if (!sizeOf(device, width, height)) return Refuse(QStringLiteral("%1 header unreadable").arg(kind));
  if (!Fits(width, height))
    return Refuse(QStringLiteral("%1 of %2 x %3 over the picture caps").arg(kind).arg(width).arg(height));
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) return Refuse(QStringLiteral("no memory for a %1 x %2 picture").arg(width).arg(height));
  device.seek(start);
  const RasterImage target{reinterpret_cast<std::uint32_t*>(image.bits()), width, height};
  if (!decode(device, target, what_)) return {};  // the decoder logged why
  return std::move(image).mirrored(false, true);
}

QImage PictureDecoder::DecodeDib(QByteArrayView dib) const {
  QByteArray file =
      BmpFileHeader(dib.size() + BmpHeader::FileHeaderBytes, DibBitsOffset(dib) + BmpHeader::FileHeaderBytes);
  file.append(dib.data(), dib.size());
  QBuffer buffer(&file);
  buffer.open(QIODevice::ReadOnly);
  return DecodeRows(buffer, QStringLiteral("DIB"), ImageFileHeader::BmpSize, BitmapCodec::Decode);
}

QImage PictureDecoder::DecodeJpeg(const QByteArray& data) const {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  return DecodeRows(buffer, QStringLiteral("JPEG"), ImageFileHeader::JpegSize, JpegReader::Decode);
}

QImage PictureDecoder::DecodePng(const QByteArray& data) const {
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "png");
  reader.setAllocationLimit(int(std::min<qint64>(maxBytes_, VirtualBuffer::MaxPixels * 4) / (1024 * 1024) + 1));
  const QSize size = reader.size();
  if (!size.isValid()) return Refuse(QStringLiteral("PNG header unreadable"));
  if (!Fits(size.width(), size.height()))
    return Refuse(QStringLiteral("PNG of %1 x %2 over the picture caps").arg(size.width()).arg(size.height()));
  QImage image = reader.read();
  if (image.isNull()) return Refuse(QStringLiteral("PNG not decoded: %1").arg(reader.errorString()));
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A device bitmap: rows top-down padded to 2 bytes, without colours; only the one-bit
// form (black and white) and the true-colour ones have a meaning away from their device.
QImage PictureDecoder::DecodeDeviceBitmap(const PictureSource& source) const {
  const int bits = source.bitsPerPixel;
  if (source.planes != 1 || (bits != 1 && bits != 24 && bits != 32))
    return Refuse(QStringLiteral("device bitmap of %1 bits in %2 planes").arg(bits).arg(source.planes));
  if (!Fits(source.width, source.height)) return Refuse(QStringLiteral("device bitmap over the picture caps"));
  const qint64 rowBytes = (qint64(source.width) * bits + 15) / 16 * 2;
  const qint64 stride = std::max<qint64>(source.widthBytes, rowBytes);
  const qint64 dibRow = (qint64(source.width) * bits + 31) / 32 * 4;
  if (stride * source.height > source.data.size()) return Refuse(QStringLiteral("device bitmap cut short"));
  const int palette = bits == 1 ? 8 : 0;
  QByteArray dib(kInfoHeaderBytes + palette + dibRow * source.height, '\0');
  char* info = dib.data();
  qToLittleEndian<std::uint32_t>(kInfoHeaderBytes, info);
  qToLittleEndian<std::int32_t>(source.width, info + 4);
  qToLittleEndian<std::int32_t>(-source.height, info + 8);  // top-down, as the device's rows lie
  qToLittleEndian<std::uint16_t>(1, info + 12);
  qToLittleEndian<std::uint16_t>(std::uint16_t(bits), info + 14);
  if (bits == 1) qToLittleEndian<std::uint32_t>(0x00FFFFFF, info + kInfoHeaderBytes + 4);  // 0 black, 1 white
  char* rows = info + kInfoHeaderBytes + palette;
  for (int y = 0; y < source.height; ++y)
    std::copy_n(source.data.constData() + y * stride, std::min(rowBytes, dibRow), rows + y * dibRow);
  return DecodeDib(dib);
}

QImage PictureDecoder::Decode(const PictureSource& source) const {
  switch (source.kind) {
    case PictureSource::Kind::Dib: return DecodeDib(source.data);
    case PictureSource::Kind::DeviceBitmap: return DecodeDeviceBitmap(source);
    case PictureSource::Kind::Jpeg: return DecodeJpeg(source.data);
    case PictureSource::Kind::Png: return DecodePng(source.data);
    case PictureSource::Kind::Wmf: {
      QByteArrayView dib;
      QString fault;
      if (!WmfBitmap::FindDib(source.data, dib, fault)) return Refuse(fault);
      return DecodeDib(dib);
    }
    default: return {};
  }
}

QByteArray PictureDecoder::EncodeDib(const QImage& image) {
  QImage picture(image.size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainter painter(&picture);
    painter.drawImage(0, 0, image);
  }
  // The codec takes rows as the raster library keeps them: bottom-up.
  picture = std::move(picture).mirrored(false, true);
  const RasterImage raster{reinterpret_cast<std::uint32_t*>(picture.bits()), picture.width(), picture.height()};
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!BitmapCodec::Encode(raster, buffer, QStringLiteral("Pasted picture"))) return {};
  return buffer.data().mid(BmpHeader::FileHeaderBytes);
}
