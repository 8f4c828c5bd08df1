#pragma once
// A picture file's thumbnail made from its bytes in raw memory only, so that it can be made
// on a thread of its own: the picture is decoded whole, then shrunk smoothly into a square
// box. Within a DecodeCancel scope a cancel stops it; within a DecodeRefusal scope a refused
// picture leaves its reason.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

struct PictureThumbnail {
  std::vector<std::uint32_t> pixels;  // rows bottom-up, as a raster picture's
  int width = 0;
  int height = 0;

  // The size a picture is shown at in a box of that many pixels: shrunk to fit, never enlarged.
  static QSize FittedSize(QSize picture, int box);
  // format: PictureFile::Bitmap or Jpeg. Empty when the bytes cannot be decoded or the
  // decode was cancelled.
  static PictureThumbnail Make(const QByteArray& bytes, int format, int box, const QString& what);
  // Upright; null when empty.
  QImage ToImage() const;
};
