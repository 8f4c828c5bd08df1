#pragma once
// Decoding JPEG streams with libjpeg: baseline and progressive; grey, YCbCr, RGB, CMYK and
// YCCK (Adobe's inverted form included); any chroma subsampling. libjpeg's errors end in
// our own error manager and never leave it as anything but a false result.

#include "RasterLibrary.h"

#include <QString>

class QIODevice;

class JpegReader {
public:
  // Scans a progressive picture may have. Encoders write at most a few dozen (libjpeg 6 to
  // 18, the most thorough optimisers' scripts 64), and every scan is a pass over the whole
  // picture: a file with more is damaged.
  static constexpr int MaxScans = 64;

  // Decodes the stream at the device's position into target, whose size the picture must
  // have (checked before decoding); every row is written. A stream that ends early, or
  // whose scan data a marker cuts short, is refused as corrupt; the rows after the cut are
  // never touched. Black is stored as 1. On a random-access device the position is left
  // just after the stream's end. A stream of more than MaxScans scans is refused as
  // damaged once its next scan starts. Within a DecodeCancel scope of this thread the decode
  // stops, unfinished, as soon as the check asks it to. False, with a log line naming what,
  // on any failure.
  static bool Decode(QIODevice& device, const RasterImage& target, const QString& what);
};
