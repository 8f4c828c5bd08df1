// The table's speed, each figure beside a memcpy pass over a 1920 × 1080 picture of 32-bit
// pixels (the memory bandwidth limit), measured in the same run:
//   BM_Present/1920x1080  the whole table shown in a widget of its size, as in every frame
//   BM_Present/dirty      a drag step's two rectangles (200 × 160, moved 5 pixels) as one part
// Qt's own work is included: the synchronous repaint and the window buffer's flush (under
// X11 also the server's copy of it). The widget is offscreen unless QT_QPA_PLATFORM says
// otherwise (e.g. QT_QPA_PLATFORM=xcb under xvfb-run).

#include "imaging/VirtualBuffer.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int TableWidth = 1920, TableHeight = 1080;

// Runs step untimed a few times (caches, page faults, Qt's first paint), then timed.
template <typename Step>
void Timed(benchmark::State& state, Step step) {
  for (int i = 0; i < 20; ++i) step();
  for (auto _ : state) step();
}

void BM_MemcpyPass(benchmark::State& state, int width, int height) {
  const std::size_t bytes = std::size_t(width) * height * 4;
  std::vector<char> from(bytes, 1), to(bytes, 2);
  Timed(state, [&] {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  });
  state.SetBytesProcessed(state.iterations() * std::int64_t(bytes));
}

// Part of a table (empty: all of it, through Render) shown in an opaque widget of its size.
void BM_Present(benchmark::State& state, QRect part) {
  VirtualBuffer table(TableWidth, TableHeight, "Table Surface");
  for (int y = 0; y < TableHeight; ++y)
    for (int x = 0; x < TableWidth; ++x)  // varied colours, shadow levels in some top bytes
      table.Row(y)[x] = std::uint32_t(x % 3) << 24 | std::uint32_t(x * 7 + y * 13) << 8;
  QWidget widget;
  widget.setAttribute(Qt::WA_OpaquePaintEvent);
  widget.resize(TableWidth, TableHeight);
  widget.show();
  QCoreApplication::processEvents();
  Timed(state, [&] { part.isEmpty() ? table.Render(&widget) : table.RenderPart(&widget, part); });
}

}  // namespace

BENCHMARK_CAPTURE(BM_MemcpyPass, 1920x1080, TableWidth, TableHeight)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Present, 1920x1080, QRect())->Unit(benchmark::kMicrosecond);
// A 200 × 160 piece moved 5 pixels to the right: the old and the new rectangle.
BENCHMARK_CAPTURE(BM_Present, dirty, QRect(600, 400, 200, 160) | QRect(605, 400, 200, 160))
    ->Unit(benchmark::kMicrosecond);

// The table surface's drawing (a full redraw, drag steps) goes here.

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
