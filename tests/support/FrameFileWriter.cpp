#include "FrameFileWriter.h"

#include "TestEnvironment.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"

void FrameFileWriter::AddClip(int width, int height, int frames, int hold) {
  clips.push_back({width, height, frames, hold});
}

std::vector<qint64> FrameFileWriter::ClipOffsets() const {
  std::vector<qint64> offsets;
  qint64 at = prefix;
  for (const Clip& clip : clips) {
    offsets.push_back(at);
    at += ClipHeader::Size + std::max(clip.frames, 0) * VideoFrame::RecordSize(clip.width, clip.height);
  }
  return offsets;
}

QByteArray FrameFileWriter::Bytes() const {
  QByteArray bytes(prefix, 'P');
  for (const Clip& clip : clips) {
    const qint64 record = VideoFrame::RecordSize(clip.width, clip.height);
    const qint64 end = bytes.size() + ClipHeader::Size + std::max(clip.frames, 0) * record;
    ClipHeader header{std::uint32_t(end), std::int16_t(clip.frames), std::int16_t(clip.width),
                      std::int16_t(clip.height), 0};
    unsigned char headerBytes[ClipHeader::Size];
    header.Store(headerBytes);
    bytes.append(reinterpret_cast<const char*>(headerBytes), ClipHeader::Size);
    for (int i = 1; i <= clip.frames; ++i) {
      const std::uint32_t pixel = std::uint32_t(i);
      for (qint64 p = 0; p < record - FrameTrailer::Size; p += 4) bytes.append(reinterpret_cast<const char*>(&pixel), 4);
      FrameTrailer trailer{0, 0, std::int16_t(clip.hold), std::uint16_t(i), 0};
      unsigned char trailerBytes[FrameTrailer::Size];
      trailer.Store(trailerBytes);
      bytes.append(reinterpret_cast<const char*>(trailerBytes), FrameTrailer::Size);
    }
  }
  return bytes;
}

bool FrameFileWriter::Write(const QString& path) const { return TestEnvironment::WriteFile(path, Bytes()); }
