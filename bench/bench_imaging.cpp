// Imaging speed, each figure beside a limit measured in the same run:
//   decoding a 12-megapixel JPEG into a buffer   vs  a bare libjpeg decode of the same bytes
//   Render of a 1920 × 1080 buffer to a widget   vs  a memcpy of the same bytes
// plus shrinking the picture to 2 megapixels and 1000 transparent piece copies.

#include "imaging/VirtualBuffer.h"

#include <QApplication>
#include <QBuffer>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int PictureWidth = 4000, PictureHeight = 3000;

// A synthetic photograph: smooth gradients with fine texture, so that the stream has the
// size and entropy of a real picture.
std::unique_ptr<VirtualBuffer> SyntheticPicture() {
  auto picture = std::make_unique<VirtualBuffer>(PictureWidth, PictureHeight, "synthetic");
  std::uint32_t noise = 12345;
  for (int y = 0; y < PictureHeight; ++y) {
    std::uint32_t* row = picture->Row(y);
    for (int x = 0; x < PictureWidth; ++x) {
      noise = noise * 1103515245 + 12345;
      const int grain = int(noise >> 28) - 8;
      const int r = std::clamp(x * 255 / PictureWidth + grain, 0, 255);
      const int g = std::clamp(y * 255 / PictureHeight + ((x / 40 + y / 40) % 2) * 30 + grain, 0, 255);
      const int b = std::clamp(128 + int(60 * ((x * y) % 997) / 997.0) + grain, 0, 255);
      row[x] = std::uint32_t(r << 16 | g << 8 | b);
    }
  }
  return picture;
}

const QByteArray& PictureJpeg() {
  static const QByteArray bytes = [] {
    QByteArray out;
    QBuffer stream(&out);
    stream.open(QIODevice::WriteOnly);
    SyntheticPicture()->Write(stream, VirtualBuffer::JpegMode);
    return out;
  }();
  return bytes;
}

void BM_DecodeJpegIntoBuffer(benchmark::State& state) {
  QByteArray bytes = PictureJpeg();
  VirtualBuffer buffer(PictureWidth, PictureHeight, "decoded");
  for (auto _ : state) {
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    if (!buffer.Read(stream, VirtualBuffer::JpegMode)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(buffer.memory);
  }
}

void BM_BareLibjpegDecode(benchmark::State& state) {
  const QByteArray& bytes = PictureJpeg();
  std::vector<JSAMPLE> row(PictureWidth * 3);
  for (auto _ : state) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[1] = {row.data()};
      jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(row.data());
  }
}

void BM_ShrinkTo2Megapixels(benchmark::State& state) {
  const auto picture = SyntheticPicture();
  for (auto _ : state) {
    VirtualBuffer fitted(*picture, 1633, 1225, true, VirtualBuffer::Filter::Smooth);
    benchmark::DoNotOptimize(fitted.memory);
  }
}

void BM_TransparentPieceCopies(benchmark::State& state) {
  // Piece-sized buffers with a transparent margin around a round-cornered body.
  std::vector<std::unique_ptr<VirtualBuffer>> pieces;
  for (int i = 0; i < 16; ++i) {
    auto piece = std::make_unique<VirtualBuffer>(72, 72, "piece");
    for (int y = 0; y < 72; ++y)
      for (int x = 0; x < 72; ++x) {
        const int dx = x - 36, dy = y - 36;
        piece->Row(y)[x] = dx * dx + dy * dy < 30 * 30 ? 0x336699u + std::uint32_t(i) : 0;
      }
    pieces.push_back(std::move(piece));
  }
  VirtualBuffer table(1920, 1080, "Table Surface");
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i)
      table.DrawBuffer((i * 97) % 1900 - 20, (i * 53) % 1060 - 20, *pieces[i % 16], true);
    benchmark::DoNotOptimize(table.memory);
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}

void BM_RenderToWidget(benchmark::State& state) {
  VirtualBuffer table(1920, 1080, "Table Surface");
  std::memset(table.memory, 0x5A, RasterBufferMemorySize(1920, 1080));
  QWidget widget;
  widget.setAttribute(Qt::WA_OpaquePaintEvent);
  widget.resize(1920, 1080);
  widget.show();
  QCoreApplication::processEvents();
  for (auto _ : state) table.Render(&widget);
}

void BM_MemcpySameBytes(benchmark::State& state) {
  const std::size_t bytes = RasterBufferMemorySize(1920, 1080);
  std::vector<char> from(bytes, 1), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
  }
}

BENCHMARK(BM_DecodeJpegIntoBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibjpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShrinkTo2Megapixels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransparentPieceCopies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderToWidget)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration (the median when repeated) for the ratios
// printed at the end; the compared pairs share their time unit.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || median) times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintRatio(const RatioReporter& reporter, const char* what, const char* ours, const char* limit, double target) {
  const auto a = reporter.times.find(ours), b = reporter.times.find(limit);
  if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) return;
  const double ratio = a->second / b->second;
  std::printf("%-40s %6.2fx  (target at most %.2fx: %s)\n", what, ratio, target, ratio <= target ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Without options: interleaved repetitions, so that a busy machine tilts neither side of a
  // ratio.
  std::vector<char*> args(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5", interleave[] = "--benchmark_enable_random_interleaving=true",
       medians[] = "--benchmark_report_aggregates_only=true";
  if (argc == 1) args.insert(args.end(), {repetitions, interleave, medians});
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  std::printf("12-megapixel test JPEG: %lld bytes\n", static_cast<long long>(PictureJpeg().size()));
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatio(reporter, "decode / bare libjpeg decode", "BM_DecodeJpegIntoBuffer", "BM_BareLibjpegDecode", 1.15);
  PrintRatio(reporter, "Render / memcpy of the same bytes", "BM_RenderToWidget", "BM_MemcpySameBytes", 3.0);
  return 0;
}
