// The JPEG decode budget: the worst files the budget accepts, each decoded as the game loads a
// picture (fresh memory, our reader), beside a baseline file of the same size decoded in the
// same run:
//   libjpeg's own progressive script (every ordinary file must stay accepted)
//   arithmetic-coded scans without data, as many as the budget accepts: single-coefficient
//   grey scans, grey DC scans, and DC scans of every component of YCbCr 4:2:0 and CMYK
//   a real arithmetic-coded grey picture of as many scans (beside an arithmetic-coded one of
//   one scan), and one whose every block has a restart marker of its own
// at 2048, 4096 and 8192 pixels square; with TV_BENCH_LARGEST=1 also at 16384 (the largest
// picture accepted: about 4 GB of memory at the peak).

#include "JpegFixtureWriter.h"
#include "RatioReporter.h"
#include "imaging/JpegReader.h"
#include "imaging/VirtualBuffer.h"

#include <QCoreApplication>
#include <QBuffer>

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {

using JpegFixtureWriter::Kind;

// A synthetic photograph: smooth gradients with fine texture, so that the stream has the
// size and entropy of a real picture.
QImage Photo(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  std::uint32_t noise = 12345;
  for (int y = 0; y < side; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < side; ++x) {
      noise = noise * 1103515245 + 12345;
      const int grain = int(noise >> 28) - 8;
      row[x] = qRgb(std::clamp(x * 255 / side + grain, 0, 255),
                    std::clamp(y * 255 / side + ((x / 40 + y / 40) % 2) * 30 + grain, 0, 255),
                    std::clamp(128 + (x * y) % 61 + grain, 0, 255));
    }
  }
  return image;
}

bool Decode(const QByteArray& jpeg, int side, JpegReader::Work& work) {
  QByteArray bytes = jpeg;
  QBuffer stream(&bytes);
  stream.open(QIODevice::ReadOnly);
  const VirtualBuffer picture(side, side, "budget", VirtualBuffer::Uncleared{});
  return JpegReader::DecodeCounted(stream, picture.Image(), QStringLiteral("budget"), work);
}

// The most scans of that kind the budget accepts at that size, as the reader counts them.
int MostAccepted(JpegFixtureWriter::EmptyScans frame) {
  frame.scans = JpegReader::MaxScans;
  JpegReader::Work work;
  return Decode(JpegFixtureWriter::Write(frame), frame.width, work) ? frame.scans : work.scans - 1;
}

QByteArray Written(const std::string& kind, int side) {
  const auto options = [](Kind kind, bool progressive, int sampling) {
    JpegFixtureWriter::Options o{kind, progressive, sampling, sampling};
    o.quality = 90;
    return o;
  };
  const auto empty = [side](int components, bool interleaved) {
    JpegFixtureWriter::EmptyScans frame{side, side, components, 0, interleaved};
    frame.scans = MostAccepted(frame);
    return JpegFixtureWriter::Write(frame);
  };
  if (kind == "BaselinePhoto") return JpegFixtureWriter::Write(Photo(side), options(Kind::YCbCr, false, 2));
  if (kind == "BaselineGrey") return JpegFixtureWriter::Write(Photo(side), options(Kind::Grey, false, 1));
  if (kind == "BaselineCmyk") return JpegFixtureWriter::Write(Photo(side), options(Kind::Cmyk, false, 1));
  if (kind == "BaselineArithmeticGrey") {
    JpegFixtureWriter::Options grey = options(Kind::Grey, false, 1);
    grey.arithmetic = true;
    return JpegFixtureWriter::Write(Photo(side), grey);
  }
  if (kind == "OrdinaryProgressive") return JpegFixtureWriter::Write(Photo(side), options(Kind::YCbCr, true, 2));
  if (kind == "EmptyGreyScans") return empty(1, false);
  if (kind == "EmptyGreyDcScans") return empty(1, true);
  if (kind == "EmptyColourDcScans") return empty(3, true);
  if (kind == "EmptyCmykDcScans") return empty(4, true);
  // A grey scan of the writer's script is one pass, as an empty one is.
  JpegFixtureWriter::Options arithmetic = options(Kind::Grey, true, 1);
  arithmetic.arithmetic = true;
  arithmetic.scans = MostAccepted({side, side, 1, 0, false});
  if (kind == "ArithmeticScans") return JpegFixtureWriter::Write(Photo(side), arithmetic);
  QImage flat(side, side, QImage::Format_RGB32);
  flat.fill(qRgb(90, 90, 90));
  arithmetic.restartInterval = 1;
  return JpegFixtureWriter::Write(flat, arithmetic);  // "RestartEveryBlock"
}

// Written once per kind and size.
const QByteArray& File(const std::string& kind, int side) {
  static std::map<std::pair<std::string, int>, QByteArray> files;
  auto found = files.find({kind, side});
  if (found == files.end()) found = files.emplace(std::make_pair(kind, side), Written(kind, side)).first;
  return found->second;
}

void BM_Decode(benchmark::State& state, const std::string& kind) {
  const int side = int(state.range(0));
  const QByteArray& jpeg = File(kind, side);
  JpegReader::Work work;
  for (auto _ : state)
    if (!Decode(jpeg, side, work)) state.SkipWithError("refused");
  state.counters["scans"] = work.scans;
  state.counters["passes"] = double(work.pixels) / (double(side) * side);
  state.counters["KB"] = double(jpeg.size()) / 1024;
}

const char* const kinds[] = {"BaselinePhoto",      "BaselineGrey",     "BaselineCmyk",     "BaselineArithmeticGrey",
                             "OrdinaryProgressive", "EmptyGreyScans",  "EmptyGreyDcScans", "EmptyColourDcScans",
                             "EmptyCmykDcScans",    "ArithmeticScans", "RestartEveryBlock"};

// The budget's files beside a baseline of their own kind, with the 3x target; then, for
// reference, what the kind of frame or coding costs by itself.
void PrintRatios(const RatioReporter& reporter, int side) {
  const auto name = [side](const char* kind) { return "BM_" + std::string(kind) + "/" + std::to_string(side); };
  std::printf("\nAt %d x %d, each beside a baseline file of the same size:\n", side, side);
  const std::pair<const char*, const char*> budget[] = {
      {"OrdinaryProgressive", "BaselinePhoto"}, {"EmptyGreyScans", "BaselineGrey"},
      {"EmptyGreyDcScans", "BaselineGrey"},     {"EmptyColourDcScans", "BaselinePhoto"},
      {"EmptyCmykDcScans", "BaselineCmyk"},     {"ArithmeticScans", "BaselineArithmeticGrey"},
      {"RestartEveryBlock", "BaselineGrey"},
  };
  for (const auto& [ours, floor] : budget) {
    const std::string what = std::string(ours) + " / " + floor;
    reporter.PrintRatio(what.c_str(), name(ours).c_str(), name(floor).c_str(), 3.0);
  }
  const std::pair<const char*, const char*> reference[] = {
      {"BaselineCmyk", "BaselinePhoto"}, {"EmptyCmykDcScans", "BaselinePhoto"},
      {"BaselineArithmeticGrey", "BaselineGrey"}};
  for (const auto& [ours, floor] : reference) {
    const auto a = reporter.times.find(name(ours)), b = reporter.times.find(name(floor));
    if (a != reporter.times.end() && b != reporter.times.end() && b->second > 0)
      std::printf("%-40s %6.2fx  (the kind's own cost, for reference)\n",
                  (std::string(ours) + " / " + floor).c_str(), a->second / b->second);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<int> sides{2048, 4096, 8192};
  if (qEnvironmentVariableIntValue("TV_BENCH_LARGEST") == 1) sides.push_back(16384);
  for (const char* kind : kinds) {
    auto* bench = benchmark::RegisterBenchmark(("BM_" + std::string(kind)).c_str(), BM_Decode, std::string(kind));
    for (int side : sides) bench->Arg(side);
    bench->Unit(benchmark::kMillisecond);
  }
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  for (int side : sides) PrintRatios(reporter, side);
  return 0;
}
