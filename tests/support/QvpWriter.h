#pragma once
// Writes animated-puzzle files for tests and tools: a generated picture (BMP or JPEG), a
// note, clips of solid-colour JPEG frames, and a sound-track table in format 1 or 2 after
// the clips. Each frame header carries a tag in its two free bytes, which the frame file
// keeps, so that tests read tags instead of pixels. Raw patches go over the finished bytes.

#include "puzzle/TessavinelumeHeader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct QvpFrame {
  int x = 0, y = 0, hold = 0;
  std::uint16_t tag = 0;
  std::uint32_t colour = 0x00406080;  // 0x00RRGGBB
  QByteArray jpeg;                    // used as it is when not empty
};

struct QvpClip {
  int width = 0, height = 0;
  std::vector<QvpFrame> frames;
};

struct QvpTrack {
  std::uint16_t id = 1, loop = 0, midi = 0;
  QByteArray data;
};

class QvpWriter {
public:
  QvpWriter(int width = 32, int height = 24);

  // A clip of frames tagged (clip number × 1000 + frame number), clip and frame numbers from
  // 1, each with that hold, at x, y.
  QvpClip& AddClip(int width, int height, int frames, int hold = 0, int x = 0, int y = 0);
  void AddTrack(std::uint16_t id, bool loop, const QByteArray& data, bool midi = false);
  void Patch(qint64 offset, const QByteArray& bytes);

  // The file's bytes; fills the offsets below.
  QByteArray Bytes();
  bool Write(const QString& path);
  // The size of the frame file made from these clips (after Bytes).
  qint64 FrameFileSize() const;
  // A width × height picture with a different colour in every pixel, as the picture block.
  static QByteArray PictureBytes(int width, int height, int type);
  static QByteArray SolidJpeg(int width, int height, std::uint32_t colour);

  TessavinelumeHeader header;  // version, track format, light bevel; the rest is laid out
  unsigned char form = TessavinelumeHeader::Forms[0];
  QByteArray picture;  // the picture block; by default PictureBytes of header.pictureType
  QByteArray note;
  std::vector<QvpClip> clips;
  std::vector<QvpTrack> tracks;

  // Where Bytes() put the parts.
  qint64 firstClipAt = 0;
  std::vector<qint64> clipAt;
  std::vector<std::vector<qint64>> frameAt;  // each frame's header
  std::vector<qint64> trackAt;

private:
  std::vector<std::pair<qint64, QByteArray>> patches;
};
