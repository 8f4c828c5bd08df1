// Animated puzzles: a 1600 x 1200 picture cut into about 1000 pieces on a 1920 x 1080 table,
// with clips of 160 x 120 and 640 x 480 frames. Every figure is compared with a plain memcpy of
// the same bytes measured in the same run. Benchmarks are named "BM_Name/<clips>x<w>x<h>".

#include "QvpWriter.h"
#include "RatioReporter.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/TessavinelumeFile.h"
#include "puzzle/VideoFrame.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <benchmark/benchmark.h>

#include <cstdio>  // before jpeglib.h, which needs FILE
#include <cstring>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

struct ClipSet {
  int clips, width, height;
  std::string Name() const {
    return std::to_string(clips) + "x" + std::to_string(width) + "x" + std::to_string(height);
  }
};

// The floor: each clip's frame rows copied with memcpy, as raw frames land in the picture.
void BM_MemcpyFrames(benchmark::State& state, ClipSet set) {
  const std::size_t row = std::size_t(set.width) * 4, stride = 1600 * 4;
  std::vector<char> frames(std::size_t(set.clips) * row * set.height, 1), picture(stride * 1200, 2);
  for (auto _ : state) {
    for (int c = 0; c < set.clips; ++c)
      for (int y = 0; y < set.height; ++y)
        std::memcpy(picture.data() + std::size_t(y) * stride + std::size_t(c % 2) * 800 * 4,
                    frames.data() + (std::size_t(c) * set.height + y) * row, row);
    benchmark::DoNotOptimize(picture.data());
  }
}

void RegisterFloors() {
  for (ClipSet set : {ClipSet{4, 160, 120}, ClipSet{2, 640, 480}, ClipSet{1, 640, 480}})
    benchmark::RegisterBenchmark(("BM_MemcpyFrames/" + set.Name()).c_str(), BM_MemcpyFrames, set);
}

}  // namespace

// ---- Frame reading and transfer (the puzzle files' side) ----

namespace {

// A textured frame (gradients and noise, as film frames compress) as a JPEG stream.
QByteArray TexturedJpeg(int width, int height, int seed) {
  VirtualBuffer frame(width, height, QStringLiteral("bench frame"));
  std::uint32_t noise = 2463534242u + std::uint32_t(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
      const std::uint32_t r = std::uint32_t(x + seed * 3) & 0xFF, g = std::uint32_t(y * 2 + seed) & 0xFF;
      const std::uint32_t b = (std::uint32_t((x * y) >> 6) + (noise & 0x1F)) & 0xFF;
      frame.Row(y)[x] = r << 16 | g << 8 | b;
    }
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  frame.Write(out, VirtualBuffer::JpegMode);
  return out.data();
}

// An animated puzzle of one clip of textured frames; its path. Written once per size.
QString AnimatedPuzzle(int frames, int width, int height, std::vector<QByteArray>* streams = nullptr) {
  static QTemporaryDir folder;
  const QString path = folder.path() + QStringLiteral("/%1x%2x%3.qvp").arg(frames).arg(width).arg(height);
  QvpWriter writer(width, height);
  QvpClip& clip = writer.AddClip(width, height, frames);
  for (int i = 0; i < frames; ++i) clip.frames[std::size_t(i)].jpeg = TexturedJpeg(width, height, i);
  if (streams)
    for (const QvpFrame& frame : clip.frames) streams->push_back(frame.jpeg);
  if (!QFileInfo::exists(path)) writer.Write(path);
  return path;
}

// One record of a page-cached frame file read into a frame buffer, as a loader does.
void BM_FrameRead(benchmark::State& state, int width, int height) {
  const qint64 record = VideoFrame::RecordSize(width, height);
  const int records = 8;
  QTemporaryFile file;
  file.open();
  file.write(QByteArray(records * record, '\x5A'));
  file.flush();
  QFile reader(file.fileName());
  reader.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  VideoFrame frame(width, height);
  int index = 0;
  for (auto _ : state) {
    if (!reader.seek(index * record) || !frame.Read(reader)) state.SkipWithError("read failed");
    index = (index + 1) % records;
    benchmark::DoNotOptimize(frame.memory);
  }
}

// Decoding a clip's frames into the frame file (the file's reading and cleanup untimed).
void BM_Transfer(benchmark::State& state, ClipSet set) {
  const QString path = AnimatedPuzzle(set.clips, set.width, set.height);
  for (auto _ : state) {
    state.PauseTiming();
    auto file = std::make_unique<TessavinelumeFile>(path);
    state.ResumeTiming();
    if (!file->TransferToHardDrive(nullptr)) state.SkipWithError("transfer failed");
    state.PauseTiming();
    file.reset();
    state.ResumeTiming();
  }
}

// The floor: libjpeg alone decoding the same streams into bottom-up BGRX rows.
void BM_JpegDecode(benchmark::State& state, ClipSet set) {
  std::vector<QByteArray> streams;
  AnimatedPuzzle(set.clips, set.width, set.height, &streams);
  std::vector<std::uint32_t> pixels(std::size_t(set.width) * set.height);
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  for (auto _ : state) {
    for (const QByteArray& stream : streams) {
      jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(stream.constData()), stream.size());
      jpeg_read_header(&info, TRUE);
      info.out_color_space = JCS_EXT_BGRX;
      jpeg_start_decompress(&info);
      while (info.output_scanline < info.output_height) {
        auto* row = reinterpret_cast<JSAMPROW>(&pixels[std::size_t(set.height - 1 - int(info.output_scanline)) * set.width]);
        jpeg_read_scanlines(&info, &row, 1);
      }
      jpeg_finish_decompress(&info);
    }
    benchmark::DoNotOptimize(pixels.data());
  }
  jpeg_destroy_decompress(&info);
}

void RegisterFileBenchmarks() {
  benchmark::RegisterBenchmark("BM_FrameRead/640x480", BM_FrameRead, 640, 480);
  const ClipSet transfer{100, 320, 240};
  benchmark::RegisterBenchmark(("BM_Transfer/" + transfer.Name()).c_str(), BM_Transfer, transfer)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("BM_JpegDecode/" + transfer.Name()).c_str(), BM_JpegDecode, transfer)->Unit(benchmark::kMillisecond);
}

void PrintFileRatios(const RatioReporter& reporter) {
  reporter.PrintRatio("frame read / memcpy 640x480", "BM_FrameRead/640x480", "BM_MemcpyFrames/1x640x480", 2.0);
  reporter.PrintRatio("transfer / libjpeg decode", "BM_Transfer/100x320x240", "BM_JpegDecode/100x320x240", 1.3);
}

}  // namespace

int main(int argc, char** argv) {
  RegisterFloors();
  RegisterFileBenchmarks();
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  PrintFileRatios(reporter);
  return 0;
}
