// Imaging speed, each figure beside a limit measured in the same run:
//   decoding a 12-megapixel JPEG into a buffer   vs  a bare libjpeg decode of the same bytes
//   loading a 12-megapixel JPEG file as the game does, into fresh memory
//                                                vs  bare libjpeg from the file into fresh memory
//   decoding 12-megapixel BMPs (24 bits, RLE8)   vs  a memcpy pass over the same pixels
//   Render of a 1920 × 1080 buffer to a widget   vs  a memcpy of the same bytes
// plus shrinking the picture to 2 megapixels and 1000 transparent piece copies, and the
// peak memory of a 12-megapixel BMP load above its picture.

#include "RatioReporter.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/PictureFile.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <memory>
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

// Decodes the file's bytes into one buffer again and again.
void DecodeRepeatedly(benchmark::State& state, QByteArray bytes, int mode) {
  VirtualBuffer buffer(PictureWidth, PictureHeight, "decoded");
  for (auto _ : state) {
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    if (!buffer.Read(stream, mode)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(buffer.memory);
  }
}

void BM_DecodeJpegIntoBuffer(benchmark::State& state) { DecodeRepeatedly(state, PictureJpeg(), VirtualBuffer::JpegMode); }

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

// An RLE8 file of the picture in a 3-3-2 palette: runs of three or more as runs, the rest
// as pixels one by one, an end of line after each row.
QByteArray Rle8File(const VirtualBuffer& picture) {
  QByteArray codes;
  std::vector<std::uint8_t> row(std::size_t(picture.width));
  for (int y = picture.height - 1; y >= 0; --y) {  // bottom row first
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t v = picture.Row(y)[x];
      row[std::size_t(x)] = std::uint8_t((v >> 21 & 7) << 5 | (v >> 13 & 7) << 2 | (v >> 6 & 3));
    }
    for (int x = 0; x < picture.width;) {
      int run = 1;
      while (x + run < picture.width && run < 255 && row[x + run] == row[x]) ++run;
      int single = 0;  // pixels before the next run of three
      while (run < 3 && x + single < picture.width && single < 255) {
        ++single;
        run = 1;
        while (x + single + run < picture.width && run < 3 && row[x + single + run] == row[x + single]) ++run;
      }
      if (single >= 3) {
        codes.append('\0').append(char(single)).append(reinterpret_cast<const char*>(&row[x]), single);
        if (single & 1) codes.append('\0');
        x += single;
      } else {
        const int count = single ? single : run;
        codes.append(char(count)).append(char(row[x]));
        x += count;
      }
    }
    codes.append('\0').append('\0');
  }
  codes.append('\0').append('\1');
  QByteArray file("BM");
  const auto put = [&file](quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) file.append(char(v >> (8 * i)));
  };
  const quint32 offset = 14 + 40 + 256 * 4;
  for (quint32 v : {quint32(offset + codes.size()), 0u, offset}) put(v, 4);
  for (quint32 v : {40u, quint32(picture.width), quint32(picture.height)}) put(v, 4);
  put(1, 2), put(8, 2);
  for (quint32 v : {1u, quint32(codes.size()), 2835u, 2835u, 256u, 0u}) put(v, 4);
  for (quint32 i = 0; i < 256; ++i) put((i >> 5) * 255 / 7 << 16 | (i >> 2 & 7) * 255 / 7 << 8 | (i & 3) * 85, 4);
  return file + codes;
}

const QByteArray& PictureBmp(bool runLength) {
  static const QByteArray plain = [] {
    QByteArray out;
    QBuffer stream(&out);
    stream.open(QIODevice::WriteOnly);
    SyntheticPicture()->Write(stream, VirtualBuffer::BitmapMode);
    return out;
  }();
  static const QByteArray runs = Rle8File(*SyntheticPicture());
  return runLength ? runs : plain;
}

void BM_DecodeBmp(benchmark::State& state, bool runLength) {
  DecodeRepeatedly(state, PictureBmp(runLength), VirtualBuffer::BitmapMode);
}

void BM_MemcpyPass(benchmark::State& state) {
  const std::size_t bytes = RasterBufferMemorySize(PictureWidth, PictureHeight);
  std::vector<char> from(bytes, 1), to(bytes, 2);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
  }
}

// The picture files the loads read, written once.
QString PictureFilePath(const char* name, const QByteArray& bytes) {
  static QTemporaryDir folder;
  const QString path = folder.path() + "/" + name;
  QFile file(path);
  if (!file.exists() && file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

// As the game loads a picture: its header, fresh memory, the decode; freed afterwards.
void BM_LoadJpegFile(benchmark::State& state) {
  const QString path = PictureFilePath("picture.jpg", PictureJpeg());
  for (auto _ : state) {
    const std::unique_ptr<VirtualBuffer> picture = PictureFile::Decode(path);
    if (!picture) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(picture.get());
  }
}

void BM_BareLibjpegIntoFreshMemory(benchmark::State& state) {
  const QString path = PictureFilePath("picture.jpg", PictureJpeg());
  for (auto _ : state) {
    const std::unique_ptr<std::uint32_t[]> memory(new std::uint32_t[std::size_t(PictureWidth) * PictureHeight]);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(memory.get() + std::size_t(info.output_scanline) * PictureWidth)};
      jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    benchmark::DoNotOptimize(memory.get());
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
BENCHMARK_CAPTURE(BM_DecodeBmp, 24bit_12MP, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeBmp, rle8_12MP, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyPass)->Name("BM_MemcpyPass/12MP")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLibjpegIntoFreshMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShrinkTo2Megapixels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransparentPieceCopies)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderToWidget)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpySameBytes)->Unit(benchmark::kMicrosecond);

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

// Resident memory at the peak of a load, above what was resident before and the picture's
// own pixels (the kernel's peak mark is reset first).
void PrintPeakAboveBuffer(const char* what, const char* name, const QByteArray& bytes) {
  const QString path = PictureFilePath(name, bytes);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = StatusKilobytes("VmRSS:");
  const std::unique_ptr<VirtualBuffer> picture = PictureFile::Decode(path);
  const long peak = StatusKilobytes("VmHWM:");
  const long pixels = long(RasterBufferMemorySize(PictureWidth, PictureHeight) / 1024);
  if (picture && before > 0 && peak > 0)
    std::printf("%-40s %6ld KB above the picture's %ld KB (target under 1024 KB)\n", what, peak - before - pixels, pixels);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::printf("12-megapixel test JPEG: %lld bytes\n", static_cast<long long>(PictureJpeg().size()));
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  reporter.PrintRatio("decode / bare libjpeg decode", "BM_DecodeJpegIntoBuffer", "BM_BareLibjpegDecode", 1.15);
  reporter.PrintRatio("JPEG file load / bare libjpeg, fresh memory", "BM_LoadJpegFile", "BM_BareLibjpegIntoFreshMemory", 1.15);
  reporter.PrintRatio("24-bit BMP decode / memcpy pass", "BM_DecodeBmp/24bit_12MP", "BM_MemcpyPass/12MP", 2.0);
  reporter.PrintRatio("RLE8 BMP decode / memcpy pass", "BM_DecodeBmp/rle8_12MP", "BM_MemcpyPass/12MP", 3.0);
  reporter.PrintRatio("Render / memcpy of the same bytes", "BM_RenderToWidget", "BM_MemcpySameBytes", 3.0);
  PrintPeakAboveBuffer("peak of a 24-bit 12 MP BMP load", "picture.bmp", PictureBmp(false));
  PrintPeakAboveBuffer("peak of an RLE8 12 MP BMP load", "runs.bmp", PictureBmp(true));
  return 0;
}
