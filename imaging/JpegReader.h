#pragma once
// Decoding JPEG streams with libjpeg: baseline and progressive, Huffman or arithmetic coded;
// grey, YCbCr, RGB, CMYK and YCCK (Adobe's inverted form included); any chroma subsampling.
// libjpeg's errors end in our own error manager and never leave it as anything but a false
// result.

#include "RasterLibrary.h"

#include <QString>
#include <cstdint>

class QIODevice;

class JpegReader {
public:
  // Scans a progressive picture may have. Encoders write at most a few dozen (libjpeg 6 to
  // 18, the most thorough optimisers' scripts 64): a file with more is damaged.
  static constexpr int MaxScans = 64;
  // Every scan is a pass over the blocks of the components it carries, whether it holds data
  // or not. An arithmetic-coded scan may hold none (encoders leave out trailing zero bytes,
  // and the decoder makes them up): that is no damage, and one byte more would cost the
  // same pass, so such scans are counted, not refused. A picture's
  // scans may take in, in all, the pixels of MaxPasses passes over each of its components,
  // and of MaxScans passes over a picture of SmallPixels more. libjpeg's own progressive
  // scripts pass over each component at most six times, so every ordinary file of any size
  // stays within the budget, while the worst file of a size that takes noticeable time
  // stays within a few times an ordinary one; small pictures keep all their scans.
  static constexpr int MaxPasses = 6;
  static constexpr std::int64_t SmallPixels = 512 * 512;

  // What a decode took in: the scans started and the pixels they carried (each scan counts
  // every pixel of each component it carries, a component of half the size each way a
  // quarter), and the pixels this picture may take in.
  struct Work {
    int scans = 0;
    std::int64_t pixels = 0;
    std::int64_t budget = 0;
  };

  // Decodes the stream at the device's position into target, whose size the picture must
  // have (checked before decoding); every row is written. A stream that ends early, or
  // whose scan data a marker cuts short or leaves without its restart marker, is refused as
  // corrupt; the rows after the cut are never touched. Black is stored as 1. On a
  // random-access device the position is left just after the stream's end. A stream of more
  // than MaxScans scans, or whose next scan would take it over its budget of pixels, is
  // refused as damaged before that scan's data is read. Within a DecodeCancel scope of this
  // thread the decode stops, unfinished, as soon as the check asks it to. False, with a log
  // line naming what and the reason left for a DecodeRefusal, on any failure.
  static bool Decode(QIODevice& device, const RasterImage& target, const QString& what);
  // The same, telling what the decode took in.
  static bool DecodeCounted(QIODevice& device, const RasterImage& target, const QString& what, Work& work);
};
