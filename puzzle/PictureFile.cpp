#include "PictureFile.h"

#include "imaging/ImageFileHeader.h"
#include "imaging/RegularFile.h"
#include "imaging/VirtualBuffer.h"
#include "Yelk/PathUtils.h"
#include "Yelk/TMsgLog.h"

#include <QBuffer>
#include <QFile>
#include <cstring>

int PictureFile::FormatOf(const QString& path) {
  const QString ext = GetFileExtFromPath(path).toLower();
  if (ext == QLatin1String("bmp")) return Bitmap;
  if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return Jpeg;
  return 0;
}

std::unique_ptr<VirtualBuffer> PictureFile::Decode(const QString& path) {
  const int format = FormatOf(path);
  int width = 0;
  int height = 0;
  if (format == 0 || !VirtualBuffer::GetImageFileSize(path, width, height)) return nullptr;
  // The decoders write every pixel, and a refused picture is dropped: no need to clear it.
  auto picture = std::make_unique<VirtualBuffer>(width, height, GetFileNameFromPath(path), VirtualBuffer::Uncleared{});
  QFile file;
  if (picture->IsEmpty() || RegularFile::Open(file, path) != RegularFile::Opened ||
      !picture->Read(file,
                     format == Bitmap ? VirtualBuffer::BitmapMode : VirtualBuffer::JpegMode)) {
    TMsgLog::Add(QStringLiteral("PictureFile::Decode - can not decode ") + path);
    return nullptr;
  }
  return picture;
}

QByteArray PictureFile::ReadBytes(const QString& path) {
  QByteArray bytes;
  const RegularFile::Status status = RegularFile::ReadAll(path, MaxFileBytes, bytes);
  if (status == RegularFile::Opened) return bytes;
  const QString failure = status == RegularFile::TooLarge ? QStringLiteral("too large to keep: ")
                          : status == RegularFile::NotRead ? QStringLiteral("can not read ")
                                                           : QStringLiteral("can not open ");
  TMsgLog::Add(QStringLiteral("PictureFile::ReadBytes - ") + failure + path);
  return {};
}

bool PictureFile::MeasureBytes(const QByteArray& bytes, int format, int& width, int& height) {
  QBuffer buffer;
  buffer.setData(bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return false;
  const bool read = format == Bitmap ? ImageFileHeader::BmpSize(buffer, width, height)
                  : format == Jpeg   ? ImageFileHeader::JpegSize(buffer, width, height)
                                     : false;
  return read && ImageFileHeader::Acceptable(width, height);
}

std::unique_ptr<VirtualBuffer> PictureFile::DecodeBytes(const QByteArray& bytes, int format, const QString& what) {
  int width = 0;
  int height = 0;
  if (!MeasureBytes(bytes, format, width, height)) {
    TMsgLog::Add(QStringLiteral("PictureFile::DecodeBytes - no picture size in ") + what);
    return nullptr;
  }
  auto picture = std::make_unique<VirtualBuffer>(width, height, what, VirtualBuffer::Uncleared{});
  QBuffer buffer;
  buffer.setData(bytes);
  if (picture->IsEmpty() || !buffer.open(QIODevice::ReadOnly) ||
      !picture->Read(buffer, format == Bitmap ? VirtualBuffer::BitmapMode : VirtualBuffer::JpegMode)) {
    TMsgLog::Add(QStringLiteral("PictureFile::DecodeBytes - can not decode ") + what);
    return nullptr;
  }
  return picture;
}

QImage PictureFile::ToImage(const VirtualBuffer& buffer) {
  if (buffer.IsEmpty()) return {};
  QImage image(buffer.width, buffer.height, QImage::Format_RGB32);
  if (image.isNull()) return {};
  for (int y = 0; y < buffer.height; ++y)
    std::memcpy(image.scanLine(y), buffer.Row(y), std::size_t(buffer.width) * 4);
  return image;
}
