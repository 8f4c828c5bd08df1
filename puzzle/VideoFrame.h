#pragma once
// One frame buffer of a video clip: the pixel rows of a frame as the frame file stores them,
// followed by the frame's 12-byte trailer, in one block of memory, so that a frame record is
// read with one transfer. Frames travel between the clip and its loader through `next`.

#include "imaging/VirtualBuffer.h"

#include <cstdint>
#include <memory>

class QIODevice;

// The 12 bytes after each frame's pixels in the frame file (and before each JPEG stream in
// the animated-puzzle file): where the frame goes on the picture, for how many further steps
// it stays, a free 16-bit field (tag), and the JPEG stream's size (unused in playback).
struct FrameTrailer {
  static constexpr int Size = 12;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t hold = 0;
  std::uint16_t tag = 0;
  std::uint32_t jpegSize = 0;

  static FrameTrailer Parse(const unsigned char* bytes);
  void Store(unsigned char* bytes) const;
};

namespace VideoFrameDetail {
// Owns the frame's memory; a base so that it exists before the buffer laid over it.
struct Memory {
  Memory(int width, int height);
  std::unique_ptr<std::uint32_t[]> words;
  std::size_t bytes = 0;
};
}  // namespace VideoFrameDetail

class VideoFrame : private VideoFrameDetail::Memory, public VirtualBuffer {
public:
  VideoFrame(int width, int height);

  // Bytes of one frame record: the raw rows and the trailer.
  static std::int64_t RecordSize(int width, int height) {
    return 4 * std::int64_t(width) * height + FrameTrailer::Size;
  }

  // Reads one whole record at the stream's position; false when it was not all there.
  bool Read(QIODevice& stream);
  FrameTrailer Trailer() const;

  VideoFrame* next = nullptr;
  const std::int64_t recordSize;
};
