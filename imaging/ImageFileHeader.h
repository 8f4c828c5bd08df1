#pragma once
// Reading a picture file's size from its header without decoding it. The files are
// untrusted: every length is checked against the bytes there are, and a size above the
// buffer caps counts as unreadable.

class QIODevice;

class ImageFileHeader {
public:
  // Size from a BMP file's headers, once they and the file's length agree (see BmpHeader).
  static bool BmpSize(QIODevice& file, int& width, int& height);
  // Size from the first frame header (SOFn) of a JPEG file, found by walking its markers;
  // false when the scan data starts or the file ends first.
  static bool JpegSize(QIODevice& file, int& width, int& height);
  // The first frame header before the scan data is a baseline one (SOF0).
  static bool IsBaselineJpeg(QIODevice& file);
  // A size a picture buffer may have: both sides positive and within the caps.
  static bool Acceptable(long long width, long long height);

private:
  // Walks the markers up to the first frame header; its marker code, or 0.
  static int FindFrameHeader(QIODevice& file, int& width, int& height);
};
