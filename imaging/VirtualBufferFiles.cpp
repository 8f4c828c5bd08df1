// VirtualBuffer's reading and writing: raw rows, BMP and JPEG streams, and picture file
// headers.

#include "VirtualBuffer.h"

#include "BitmapCodec.h"
#include "ImageFileHeader.h"
#include "JpegReader.h"
#include "JpegWriter.h"
#include "RegularFile.h"
#include "Yelk/PathUtils.h"
#include "Yelk/TMsgLog.h"

#include <QFile>

bool VirtualBuffer::ReadRaw(QIODevice& stream, int extra) {
  const std::size_t rows = RasterBufferMemorySize(width, height);
  if (extra < 0 || rows + std::size_t(extra) > memoryBytes) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer::Read - %1 extra bytes do not fit %2").arg(extra).arg(name));
    return false;
  }
  const auto wanted = static_cast<qint64>(rows + std::size_t(extra));
  return stream.read(reinterpret_cast<char*>(memory), wanted) == wanted;
}

bool VirtualBuffer::Read(QIODevice& stream, int mode, int extra) {
  if (IsEmpty()) return false;
  const QString what = QStringLiteral("VirtualBuffer::Read %1").arg(name);
  switch (mode) {
    case RawMode: return ReadRaw(stream, extra);
    case BitmapMode: return BitmapCodec::Decode(stream, Image(), what);
    case JpegMode: return JpegReader::Decode(stream, Image(), what);
  }
  TMsgLog::Add(QStringLiteral("%1 - unknown mode %2").arg(what).arg(mode));
  return false;
}

bool VirtualBuffer::Write(QIODevice& stream, int mode) const {
  if (IsEmpty()) return false;
  const QString what = QStringLiteral("VirtualBuffer::Write %1").arg(name);
  switch (mode) {
    case RawMode: {
      const auto bytes = static_cast<qint64>(RasterBufferMemorySize(width, height));
      return stream.write(reinterpret_cast<const char*>(memory), bytes) == bytes;
    }
    case BitmapMode: return BitmapCodec::Encode(Image(), stream, what);
    case JpegMode: return JpegWriter::Encode(Image(), stream, what);
  }
  TMsgLog::Add(QStringLiteral("%1 - unknown mode %2").arg(what).arg(mode));
  return false;
}

bool VirtualBuffer::GetImageFileSize(const QString& path, int& fileWidth, int& fileHeight) {
  const QString ext = GetFileExtFromPath(path).toLower();
  const bool bmp = ext == QLatin1String("bmp");
  const bool jpeg = ext == QLatin1String("jpg") || ext == QLatin1String("jpeg");
  if (!bmp && !jpeg) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer::GetImageFileSize - no size for %1 files: %2").arg(ext, path));
    return false;
  }
  QFile file;
  const RegularFile::Status opened = RegularFile::Open(file, path);
  if (opened == RegularFile::NotRegular) {
    TMsgLog::Add(QStringLiteral("VirtualBuffer::GetImageFileSize - not a regular file: %1").arg(path));
    return false;
  }
  const bool read = opened == RegularFile::Opened &&
                    (bmp ? ImageFileHeader::BmpSize(file, fileWidth, fileHeight)
                         : ImageFileHeader::JpegSize(file, fileWidth, fileHeight));
  if (!read) TMsgLog::Add(QStringLiteral("VirtualBuffer::GetImageFileSize - no usable header in %1").arg(path));
  return read;
}

bool VirtualBuffer::IsValidJpeg(const QString& path) {
  QFile file;
  const RegularFile::Status opened = RegularFile::Open(file, path);
  if (opened == RegularFile::NotRegular)
    TMsgLog::Add(QStringLiteral("VirtualBuffer::IsValidJpeg - not a regular file: %1").arg(path));
  return opened == RegularFile::Opened && ImageFileHeader::IsBaselineJpeg(file);
}
