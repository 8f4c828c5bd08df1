#include "PictureThumbnail.h"

#include "PictureFile.h"
#include "imaging/BitmapCodec.h"
#include "imaging/DecodeCancel.h"
#include "imaging/JpegReader.h"
#include "imaging/PixelScaler.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

QSize PictureThumbnail::FittedSize(QSize picture, int box) {
  const int w = picture.width();
  const int h = picture.height();
  const double ratio = std::min(1.0, double(box) / std::max(w, h));
  if (ratio == 1.0) return picture;
  const int width = w > h ? box : std::min(box, int(w * ratio + 0.5));
  const int height = h >= w ? box : std::min(box, int(h * ratio + 0.5));
  return {std::max(width, 1), std::max(height, 1)};
}

PictureThumbnail PictureThumbnail::Make(const QByteArray& bytes, int format, int box, const QString& what) {
  PictureThumbnail thumbnail;
  int width = 0;
  int height = 0;
  if (box <= 0 || !PictureFile::MeasureBytes(bytes, format, width, height)) return thumbnail;
  // Up to a gigabyte: a picture that does not fit in memory has no thumbnail.
  const std::unique_ptr<std::uint32_t[]> memory(new (std::nothrow) std::uint32_t[std::size_t(width) * height]);
  if (!memory) {
    TMsgLog::Add(QStringLiteral("%1 - no memory for a thumbnail of %2 x %3").arg(what).arg(width).arg(height));
    return thumbnail;
  }
  const RasterImage picture{memory.get(), width, height};
  QBuffer stream;
  stream.setData(bytes);
  stream.open(QIODevice::ReadOnly);
  const bool decoded = format == PictureFile::Bitmap ? BitmapCodec::Decode(stream, picture, what)
                                                     : JpegReader::Decode(stream, picture, what);
  if (!decoded || DecodeCancel::Requested()) return thumbnail;
  const QSize fitted = FittedSize({width, height}, box);
  thumbnail.width = fitted.width();
  thumbnail.height = fitted.height();
  thumbnail.pixels.resize(std::size_t(thumbnail.width) * thumbnail.height);
  PixelScaler::Resample(picture, {thumbnail.pixels.data(), thumbnail.width, thumbnail.height}, true);
  return thumbnail;
}

QImage PictureThumbnail::ToImage() const {
  if (pixels.empty()) return {};
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    std::memcpy(image.scanLine(y), pixels.data() + std::size_t(height - 1 - y) * width, std::size_t(width) * 4);
  return image;
}
