// Makes a small animated puzzle from a JPEG picture: three clips over parts of the picture
// (a light sweeping across, a disc circling, drifting stripes), held whole or streamed.

#include "QvpWriter.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/PictureFile.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QFile>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// A frame-sized part of the picture, changed by paint(x, y, pixel) for every pixel.
QByteArray FrameOf(const VirtualBuffer& picture, int left, int top, int width, int height,
                   const std::function<std::uint32_t(int, int, std::uint32_t)>& paint) {
  VirtualBuffer frame(width, height, QStringLiteral("frame"));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame.Row(y)[x] = paint(x, y, picture.Row(top + y)[left + x]);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  frame.Write(out, VirtualBuffer::JpegMode);
  return out.data();
}

std::uint32_t Scale(std::uint32_t pixel, double factor) {
  std::uint32_t result = 0;
  for (int shift : {0, 8, 16}) {
    const double channel = double((pixel >> shift) & 0xFF) * factor;
    result |= std::uint32_t(std::clamp(channel, 0.0, 255.0)) << shift;
  }
  return result;
}

void AddClip(QvpWriter& writer, const VirtualBuffer& picture, QRect area, int frames, int hold,
             const std::function<std::uint32_t(int, int, int, std::uint32_t)>& paint) {
  QvpClip& clip = writer.AddClip(area.width(), area.height(), frames, hold, area.x(), area.y());
  for (int i = 0; i < frames; ++i)
    clip.frames[std::size_t(i)].jpeg = FrameOf(picture, area.x(), area.y(), area.width(), area.height(),
                                               [&](int x, int y, std::uint32_t p) { return paint(i, x, y, p); });
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_sample_qvp <out.qvp> [picture.jpg]\n");
    return 2;
  }
  const QString source = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(TV_SAMPLE_PICTURE);
  const std::unique_ptr<VirtualBuffer> picture = PictureFile::Decode(source);
  QFile file(source);
  if (!picture || picture->width < 320 || picture->height < 240 || !file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "make_sample_qvp: %s is no JPEG picture of at least 320 x 240\n", qPrintable(source));
    return 1;
  }
  QvpWriter writer(picture->width, picture->height);
  writer.picture = file.readAll();
  writer.note = "A sample animated puzzle: parts of the picture keep moving while it is assembled.";
  const int w = picture->width, h = picture->height;
  AddClip(writer, *picture, QRect(w / 8, h / 6, 160, 120), 24, 0, [](int i, int x, int, std::uint32_t p) {
    const double at = (x - i * 160.0 / 24) / 25.0;
    return Scale(p, 1.0 + 0.6 * std::exp(-at * at));
  });
  AddClip(writer, *picture, QRect(w * 3 / 5, h / 2, 96, 96), 16, 1, [](int i, int x, int y, std::uint32_t p) {
    const double angle = i * 2 * M_PI / 16;
    const double dx = x - 48 - 28 * std::cos(angle), dy = y - 48 - 28 * std::sin(angle);
    return dx * dx + dy * dy < 14 * 14 ? 0x00F0D040u : p;
  });
  AddClip(writer, *picture, QRect(w / 3, h * 3 / 4, 64, 48), 40, 0, [](int i, int x, int y, std::uint32_t p) {
    return ((x + y + i * 2) / 8) % 2 ? Scale(p, 0.7) : p;
  });
  if (!writer.Write(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "make_sample_qvp: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
