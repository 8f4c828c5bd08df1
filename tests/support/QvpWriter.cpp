#include "QvpWriter.h"

#include "TestEnvironment.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"

#include <QBuffer>
#include <QtEndian>

namespace {
template <typename T>
void Append(QByteArray& bytes, T value) {
  unsigned char le[sizeof(T)];
  qToLittleEndian(value, le);
  bytes.append(reinterpret_cast<const char*>(le), sizeof(T));
}
}  // namespace

QvpWriter::QvpWriter(int width, int height) {
  header.version = 2;
  header.trackFormat = 2;
  header.width = std::uint16_t(width);
  header.height = std::uint16_t(height);
  header.pictureType = 3;
}

QvpClip& QvpWriter::AddClip(int width, int height, int frames, int hold, int x, int y) {
  QvpClip clip{width, height, {}};
  const int number = int(clips.size()) + 1;
  for (int i = 0; i < frames; ++i) {
    QvpFrame frame;
    frame.x = x;
    frame.y = y;
    frame.hold = hold;
    frame.tag = std::uint16_t(number * 1000 + i + 1);
    frame.colour = 0x00102030u + std::uint32_t(i) * 0x00080402u;
    clip.frames.push_back(frame);
  }
  clips.push_back(clip);
  return clips.back();
}

void QvpWriter::AddTrack(std::uint16_t id, bool loop, const QByteArray& data, bool midi) {
  tracks.push_back({id, std::uint16_t(loop ? 1 : 0), std::uint16_t(midi ? 1 : 0), data});
}

void QvpWriter::Patch(qint64 offset, const QByteArray& bytes) { patches.emplace_back(offset, bytes); }

QByteArray QvpWriter::PictureBytes(int width, int height, int type) {
  VirtualBuffer buffer(width, height, QStringLiteral("qvp picture"));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      buffer.Row(y)[x] = std::uint32_t((x * 37 + y * 91) & 0xFF) << 16 | std::uint32_t(x & 0xFF) << 8 |
                         std::uint32_t(y & 0xFF) | 0x00010101u;
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  buffer.Write(out, type == 2 ? VirtualBuffer::BitmapMode : VirtualBuffer::JpegMode);
  return out.data();
}

QByteArray QvpWriter::SolidJpeg(int width, int height, std::uint32_t colour) {
  VirtualBuffer buffer(width, height, QStringLiteral("qvp frame"));
  for (int y = 0; y < height; ++y) std::fill(buffer.Row(y), buffer.Row(y) + width, colour);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  buffer.Write(out, VirtualBuffer::JpegMode);
  return out.data();
}

QByteArray QvpWriter::Bytes() {
  if (picture.isEmpty()) picture = PictureBytes(header.width, header.height, header.pictureType);
  TessavinelumeHeader h = header;
  QByteArray body;
  const auto here = [&body] { return qint64(TessavinelumeHeader::Size + body.size()); };
  h.pictureOffset = std::uint32_t(here());
  h.pictureSize = std::uint32_t(picture.size());
  body += picture;
  h.noteOffset = note.isEmpty() ? 0 : std::uint32_t(here());
  h.noteSize = std::uint32_t(note.size());
  body += note;
  h.clipCount = std::uint16_t(clips.size());
  h.firstClip = std::uint32_t(here());
  firstClipAt = h.firstClip;
  h.totalFrames = 0;
  clipAt.clear();
  frameAt.clear();
  for (const QvpClip& clip : clips) {
    clipAt.push_back(here());
    frameAt.emplace_back();
    QByteArray frames;
    for (const QvpFrame& frame : clip.frames) {
      frameAt.back().push_back(here() + ClipHeader::Size + frames.size());
      const QByteArray jpeg = frame.jpeg.isEmpty() ? SolidJpeg(clip.width, clip.height, frame.colour) : frame.jpeg;
      FrameTrailer trailer{std::int16_t(frame.x), std::int16_t(frame.y), std::int16_t(frame.hold), frame.tag,
                           std::uint32_t(jpeg.size())};
      unsigned char bytes[FrameTrailer::Size];
      trailer.Store(bytes);
      frames.append(reinterpret_cast<const char*>(bytes), FrameTrailer::Size);
      frames += jpeg;
    }
    h.totalFrames += std::uint32_t(clip.frames.size());
    ClipHeader clipHeader{std::uint32_t(here() + ClipHeader::Size + frames.size()), std::int16_t(clip.frames.size()),
                          std::int16_t(clip.width), std::int16_t(clip.height), 0};
    unsigned char bytes[ClipHeader::Size];
    clipHeader.Store(bytes);
    body.append(reinterpret_cast<const char*>(bytes), ClipHeader::Size);
    body += frames;
  }
  h.trackCount = std::uint16_t(tracks.size());
  h.trackTable = std::uint32_t(here());
  trackAt.clear();
  for (const QvpTrack& track : tracks) {
    trackAt.push_back(here());
    Append(body, track.id);
    Append(body, track.loop);
    Append(body, std::uint32_t(track.data.size()));
    Append(body, std::uint16_t(header.trackFormat >= 2 ? track.midi : 0));
    Append(body, std::uint16_t(0));
    body += track.data;
  }
  QByteArray bytes = h.Bytes(form) + body;
  for (const auto& [offset, patch] : patches) {
    if (offset + patch.size() > bytes.size()) bytes.resize(offset + patch.size());
    bytes.replace(offset, patch.size(), patch);
  }
  return bytes;
}

bool QvpWriter::Write(const QString& path) { return TestEnvironment::WriteFile(path, Bytes()); }

qint64 QvpWriter::FrameFileSize() const {
  qint64 size = firstClipAt;
  for (const QvpClip& clip : clips)
    size += ClipHeader::Size + qint64(clip.frames.size()) * VideoFrame::RecordSize(clip.width, clip.height);
  return size;
}
