#include "VideoFrame.h"

#include <QtEndian>

FrameTrailer FrameTrailer::Parse(const unsigned char* bytes) {
  FrameTrailer trailer;
  trailer.x = qFromLittleEndian<std::int16_t>(bytes);
  trailer.y = qFromLittleEndian<std::int16_t>(bytes + 2);
  trailer.hold = qFromLittleEndian<std::int16_t>(bytes + 4);
  trailer.tag = qFromLittleEndian<std::uint16_t>(bytes + 6);
  trailer.jpegSize = qFromLittleEndian<std::uint32_t>(bytes + 8);
  return trailer;
}

void FrameTrailer::Store(unsigned char* bytes) const {
  qToLittleEndian(x, bytes);
  qToLittleEndian(y, bytes + 2);
  qToLittleEndian(hold, bytes + 4);
  qToLittleEndian(tag, bytes + 6);
  qToLittleEndian(jpegSize, bytes + 8);
}

VideoFrameDetail::Memory::Memory(int width, int height) {
  if (width < 1 || height < 1) return;
  bytes = std::size_t(VideoFrame::RecordSize(width, height));
  // Whole words: the trailer follows the rows at a word boundary.
  words = std::make_unique<std::uint32_t[]>((bytes + 3) / 4);
}

VideoFrame::VideoFrame(int width, int height)
    : Memory(width, height),
      VirtualBuffer(width, height, QStringLiteral("Video Frame"), words.get(), Memory::bytes),
      recordSize(RecordSize(width, height)) {}

bool VideoFrame::Read(QIODevice& stream) {
  return VirtualBuffer::Read(stream, RawMode, FrameTrailer::Size);
}

FrameTrailer VideoFrame::Trailer() const {
  if (IsEmpty()) return {};
  return FrameTrailer::Parse(reinterpret_cast<const unsigned char*>(memory) + (recordSize - FrameTrailer::Size));
}
