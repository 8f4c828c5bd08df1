// Animated puzzles: a 1600 x 1200 picture cut into about 1000 pieces on a 1920 x 1080 table,
// with clips of 160 x 120 and 640 x 480 frames. Every figure is compared with a plain memcpy of
// the same bytes measured in the same run. Benchmarks are named "BM_Name/<clips>x<w>x<h>".

#include "BlankAnimatedReader.h"
#include "QvpWriter.h"
#include "RatioReporter.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/TessavinelumeFile.h"
#include "puzzle/VideoFrame.h"
#include "Yelk/Prompt.h"
#include "imaging/BufferPresenter.h"
#include "puzzle/AnimatedFileReader.h"
#include "puzzle/VideoClip.h"
#include "settings/ProgSettings.h"
#include "table/TablePlayback.h"
#include "table/VideoProjector.h"
#include "tests/table/SurfaceFixtures.h"

#include <QApplication>
#include <QBuffer>
#include <QWidget>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>  // before jpeglib.h, which needs FILE
#include <cstdlib>
#include <ctime>
#include <new>
#include <thread>
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

// ---- Playback steps (the table's side) ----

namespace {

// Allocations anywhere in the process, to show that playback allocates nothing per tick.
std::atomic<long long> allocations{0};

constexpr int PictureWidth = 1600, PictureHeight = 1200, TablePieces = 1000;
const ClipSet Small{4, 160, 120}, Large{2, 640, 480};

// Clip c of a set lies in its own part of the picture.
QPoint ClipPlace(const ClipSet& set, int c) {
  return set.width == Small.width ? QPoint(100 + 360 * c, 100 + 240 * (c % 2)) : QPoint(60 + 760 * c, 600);
}

// Hands a projector some of the clips of a file.
class ClipSubset : public BlankAnimatedReader {
public:
  std::vector<VideoClip*> clips;
  int ClipCount() const override { return int(clips.size()); }
  VideoClip* GetFirstClip() override {
    next = 0;
    return GetNextClip();
  }
  VideoClip* GetNextClip() override { return next < int(clips.size()) ? clips[std::size_t(next++)] : nullptr; }

private:
  int next = 0;
};

// Shows the table through the presenter in a widget of the table's size, as the table top
// does; or records the parts it was asked to show.
class PresentingHost : public HeadlessHost {
public:
  PresentingHost() {
    widget.setAttribute(Qt::WA_OpaquePaintEvent);
    widget.resize(1920, 1080);
    widget.show();
    QCoreApplication::processEvents();
  }
  void Present(const VirtualBuffer& table, const QRect& part) override {
    BufferPresenter::Present(table.Image(), &widget, 0, 0, part);
  }
  void PresentParts(const VirtualBuffer& table, const QRegion& parts) override {
    lastParts = parts;
    if (presenting) BufferPresenter::PresentRegion(table.Image(), &widget, 0, 0, parts);
  }
  QWidget widget;
  QRegion lastParts;
  bool presenting = true;
};

class NoScreen : public ProjectorScreen {
public:
  void ShowStep(VideoFrameRegions& changed) override { last = changed; }
  void ShowIdleStep() override {}
  VideoFrameRegions last;
};

// One animated puzzle of 1600 x 1200 cut into about 1000 pieces lying on a 1920 x 1080 table:
// both clip sets, each once held whole (16 frames) and once streaming (24 frames).
struct PlayedPuzzle {
  PlayedPuzzle() : minis(HeadlessTable::MakeMinis(board)), surface(host, board) {
    surface.SetRandomSource(&random);
    surface.SetPlayback(&still);
    surface.Resize(1920, 1080);
    Settings()->IsolateEdges = false;
    QvpWriter writer(PictureWidth, PictureHeight);
    for (int frames : {16, 24})
      for (const ClipSet& set : {Small, Large})
        for (int c = 0; c < set.clips; ++c) {
          const QPoint at = ClipPlace(set, c);
          QvpClip& clip = writer.AddClip(set.width, set.height, frames, 0, at.x(), at.y());
          for (int i = 0; i < frames; ++i) clip.frames[std::size_t(i)].jpeg = TexturedJpeg(set.width, set.height, i + c);
        }
    path = folder.path() + QStringLiteral("/played.qvp");
    writer.Write(path);
    puzzle = std::make_unique<Puzzle>(path);
    puzzle->SetPieceSize(int(std::sqrt(double(PictureWidth) * PictureHeight / TablePieces)));
    loaded = surface.LoadPuzzle(puzzle.get()) && puzzle->GetAnimatedFile()->Open(nullptr);
    AnimatedFileReader* file = puzzle->GetAnimatedFile();
    for (VideoClip* clip = file->GetFirstClip(); clip; clip = file->GetNextClip()) all.push_back(clip);
    loaded = loaded && int(all.size()) == 2 * (Small.clips + Large.clips);
  }
  ~PlayedPuzzle() {
    surface.UnloadPuzzle();
    puzzle.reset();
    for (auto& mini : minis) mini->Chips().DeleteAll();
  }

  // A projector over one clip set, held or streaming, with its clips ready.
  std::unique_ptr<VideoProjector> Projector(const ClipSet& set, bool streaming, ProjectorScreen& screen,
                                            ClipSubset& subset) {
    const std::size_t first = (streaming ? Small.clips + Large.clips : 0) + (set.width == Small.width ? 0 : Small.clips);
    subset.clips.assign(all.begin() + std::ptrdiff_t(first), all.begin() + std::ptrdiff_t(first) + set.clips);
    auto projector = std::make_unique<VideoProjector>(false);
    projector->Setup(&subset, puzzle->GetImage(true), nullptr, &screen, puzzle->GetBevel());
    return projector;
  }

  QTemporaryDir folder;
  QString path;
  MiniBoard board;
  std::vector<std::unique_ptr<BufferMini>> minis;
  PresentingHost host;
  FixedRandom random;
  StillPlayback still;
  TableSurface surface;
  std::unique_ptr<Puzzle> puzzle;
  std::vector<VideoClip*> all;
  bool loaded = false;
};

// Made by the first benchmark that needs it; freed before the application goes.
std::unique_ptr<PlayedPuzzle> played;

PlayedPuzzle& Played() {
  if (!played) played = std::make_unique<PlayedPuzzle>();
  return *played;
}

// The frames into the picture and its unshaded copy, then the bevel over their rectangles.
void BM_StepPicture(benchmark::State& state, ClipSet set) {
  PlayedPuzzle& table = Played();
  if (!table.loaded) return state.SkipWithError("the puzzle did not load");
  NoScreen screen;
  ClipSubset subset;
  auto projector = table.Projector(set, false, screen, subset);
  for (int i = 0; i < 20; ++i) projector->Step();
  for (auto _ : state) projector->Step();
  if (screen.last.Count() != set.clips) state.SkipWithError("not every clip changed");
}

// The table redrawn over one step's rectangles and those pieces presented.
void BM_StepRedraw(benchmark::State& state, ClipSet set) {
  PlayedPuzzle& table = Played();
  if (!table.loaded) return state.SkipWithError("the puzzle did not load");
  NoScreen screen;
  ClipSubset subset;
  auto projector = table.Projector(set, false, screen, subset);
  projector->Step();
  VideoFrameRegions changed = screen.last;
  for (int i = 0; i < 20; ++i) table.surface.ShowStep(changed);
  for (auto _ : state) table.surface.ShowStep(changed);
  std::int64_t area = 0;
  for (const QRect& r : table.host.lastParts) area += std::int64_t(r.width()) * r.height();
  state.counters["table_px"] = double(area);
}

// The floor of the redraw: a memcpy of the table rectangles a step presents.
void BM_MemcpyTableParts(benchmark::State& state, ClipSet set) {
  PlayedPuzzle& table = Played();
  if (!table.loaded) return state.SkipWithError("the puzzle did not load");
  NoScreen screen;
  ClipSubset subset;
  auto projector = table.Projector(set, false, screen, subset);
  projector->Step();
  table.host.presenting = false;
  table.surface.ShowStep(screen.last);
  table.host.presenting = true;
  const QRegion parts = table.host.lastParts;
  std::vector<std::uint32_t> from(1920 * 1080, 1), to(1920 * 1080, 2);
  for (auto _ : state) {
    for (const QRect& r : parts)
      for (int y = r.top(); y <= r.bottom(); ++y)
        std::memcpy(&to[std::size_t(y) * 1920 + r.left()], &from[std::size_t(y) * 1920 + r.left()], std::size_t(r.width()) * 4);
    benchmark::DoNotOptimize(to.data());
  }
}

double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One tick of streaming clips without presenting: the step and the loader reads it causes,
// in process CPU time; the time the loaders take to catch up is waited for untimed.
void BM_PlaybackTick(benchmark::State& state, ClipSet set) {
  PlayedPuzzle& table = Played();
  if (!table.loaded) return state.SkipWithError("the puzzle did not load");
  NoScreen screen;
  ClipSubset subset;
  auto projector = table.Projector(set, true, screen, subset);
  auto tick = [&] {
    const double start = ProcessSeconds();
    projector->Step();
    for (VideoClip* clip : subset.clips)
      while (!clip->IsReady()) std::this_thread::sleep_for(std::chrono::microseconds(50));
    return ProcessSeconds() - start;
  };
  for (int i = 0; i < 2 * 24; ++i) tick();  // past the first cycle of every clip
  const long long allocatedBefore = allocations;
  double seconds = 0;
  for (auto _ : state) {
    const double t = tick();
    seconds += t;
    state.SetIterationTime(t);
  }
  state.counters["allocs_per_tick"] = double(allocations - allocatedBefore) / double(state.iterations());
  state.counters["share_of_67ms_pct"] = 100.0 * seconds / double(state.iterations()) / 0.067;
}

void RegisterPlaybackBenchmarks() {
  for (const ClipSet& set : {Small, Large}) {
    benchmark::RegisterBenchmark(("BM_StepPicture/" + set.Name()).c_str(), BM_StepPicture, set);
    benchmark::RegisterBenchmark(("BM_StepRedraw/" + set.Name()).c_str(), BM_StepRedraw, set);
    benchmark::RegisterBenchmark(("BM_MemcpyTableParts/" + set.Name()).c_str(), BM_MemcpyTableParts, set);
    benchmark::RegisterBenchmark(("BM_PlaybackTick/" + set.Name()).c_str(), BM_PlaybackTick, set)
        ->UseManualTime();
  }
}

void PrintPlaybackRatios(const RatioReporter& reporter) {
  for (const ClipSet& set : {Small, Large}) {
    const std::string n = set.Name();
    reporter.PrintRatio(("step picture / memcpy " + n).c_str(), ("BM_StepPicture/" + n).c_str(), ("BM_MemcpyFrames/" + n).c_str(), 6.0);
    reporter.PrintRatio(("step redraw / memcpy table parts " + n).c_str(), ("BM_StepRedraw/" + n).c_str(), ("BM_MemcpyTableParts/" + n).c_str(), 6.0);
    reporter.PrintRatio(("playback tick / memcpy " + n).c_str(), ("BM_PlaybackTick/" + n).c_str(), ("BM_MemcpyFrames/" + n).c_str(), 12.0);
  }
}

}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Prompt::Double prompts;  // a refused load must not wait for a click
  RegisterFloors();
  RegisterFileBenchmarks();
  RegisterPlaybackBenchmarks();
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  PrintFileRatios(reporter);
  PrintPlaybackRatios(reporter);
  played.reset();
  return 0;
}
