#pragma once
// Still pictures on disk: BMP and JPEG files (extensions in any case), decoded with the
// game's own codecs, which check every size before they decode. Only regular files are
// read, and the picture's memory is allocated once its header has passed the checks.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

class VirtualBuffer;

class PictureFile {
public:
  static constexpr int Bitmap = 2;
  static constexpr int Jpeg = 3;

  // Bitmap for "bmp", Jpeg for "jpg" and "jpeg", 0 for any other extension.
  static int FormatOf(const QString& path);
  // The decoded picture, or null (with a log line) when the file cannot be read.
  static std::unique_ptr<VirtualBuffer> Decode(const QString& path);
  // A picture file's bytes read whole, once, so that what is decoded and what is later
  // copied into a saved game are the same; empty (with a log line) when the file cannot be
  // read or is larger than a saved game can carry.
  static QByteArray ReadBytes(const QString& path);
  static constexpr qint64 MaxFileBytes = 0x7FFFFFFF;
  // A picture file's bytes (a block of a puzzle file) decoded, sized from its header first;
  // null, with a log line naming what, when they cannot be.
  static std::unique_ptr<VirtualBuffer> DecodeBytes(const QByteArray& bytes, int format, const QString& what);
  // The size its header gives; false for a header that cannot be read or a refused size.
  static bool MeasureBytes(const QByteArray& bytes, int format, int& width, int& height);
  // The buffer as an upright image.
  static QImage ToImage(const VirtualBuffer& buffer);
};
