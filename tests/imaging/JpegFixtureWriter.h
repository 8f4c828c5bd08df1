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
  bool arithmetic = false;
  int restartInterval = 0;  // in MCUs; 0 for none
};

// The most scans ScanScript makes for a picture of that many components.
int MostScans(int components);

QByteArray Write(const QImage& image, const Options& options);

// An arithmetic-coded progressive frame whose scans hold no data at all: each scan header is
// followed by the next marker, and the decoder makes up zeros for every block. Components 1
// (grey), 3 (YCbCr, chroma at half size each way) or 4 (CMYK); `scans` scans: a DC scan of
// every component, then one scan per AC coefficient and component; with `interleaved`, DC
// scans of every component only (refinements, repeated as often as asked).
struct EmptyScans {
  int width = 64;
  int height = 64;
  int components = 1;
  int scans = 64;
  bool interleaved = false;
  int restartInterval = 0;
};
QByteArray Write(const EmptyScans& frame);

}  // namespace JpegFixtureWriter
