#pragma once
// Writes a frame file directly, as the animated-puzzle reader leaves it: any prefix, then per
// clip its header and raw frame records whose every pixel and trailer tag is the frame's
// number from 1. Clip tests build their cases with it without decoding anything.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class FrameFileWriter {
public:
  explicit FrameFileWriter(int prefixSize = 120) : prefix(prefixSize) {}

  // Records of frames frames (the header says so too), each held for hold further steps.
  void AddClip(int width, int height, int frames, int hold = 0);
  QByteArray Bytes() const;
  bool Write(const QString& path) const;

  // Where each clip's header starts.
  std::vector<qint64> ClipOffsets() const;

private:
  struct Clip {
    int width, height, frames, hold;
  };
  int prefix;
  std::vector<Clip> clips;
};
