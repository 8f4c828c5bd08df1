#pragma once
// Writes JPEG fixtures of every kind the game must read, straight through libjpeg.

#include <QByteArray>
#include <QImage>

namespace JpegFixtureWriter {

enum class Kind { YCbCr, Grey, Cmyk, CmykAdobeInverted, Ycck, Rgb };

struct Options {
  Kind kind = Kind::YCbCr;
  bool progressive = false;
  int hSampling = 2;  // luma sampling factors: 2 × 2 is 4:2:0, 1 × 1 is 4:4:4
  int vSampling = 2;
  int quality = 100;
  // Progressive with exactly this many scans, each a valid step of the progression (see
  // ScanScript); 0 leaves libjpeg's own script.
  int scans = 0;
};

// The most scans ScanScript makes for a picture of that many components.
int MostScans(int components);

QByteArray Write(const QImage& image, const Options& options);

}  // namespace JpegFixtureWriter
