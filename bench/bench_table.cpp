// The table's speed, each figure beside a memcpy pass over a 1920 × 1080 picture of 32-bit
// pixels (the memory bandwidth limit), measured in the same run:
//   BM_Present/1920x1080  the whole table shown in a widget of its size, as in every frame
//   BM_Present/dirty      a drag step's two rectangles (200 × 160, moved 5 pixels) as one part
//   BM_FullRedraw/N       a 1920 × 1080 table with a picture fitted to it, cut into about N
//                         pieces, all laid out and drawn with their shadows (target: 6×)
//   BM_DragStep/1, /50    a carried piece, and a carried group of 50, moved 5 pixels: only
//                         the changed parts drawn (target: 1/5 of a full redraw)
// Qt's own work is included: the synchronous repaint and the window buffer's flush (under
// X11 also the server's copy of it). The widget is offscreen unless QT_QPA_PLATFORM says
// otherwise (e.g. QT_QPA_PLATFORM=xcb under xvfb-run).

#include "LaidOutTable.h"
#include "RatioReporter.h"
#include "imaging/VirtualBuffer.h"
#include "table/ChipSelection.h"
#include "Yelk/Prompt.h"

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int TableWidth = LaidOutTable::TableWidth, TableHeight = LaidOutTable::TableHeight;

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

void BM_FullRedraw(benchmark::State& state) {
  LaidOutTable laid(int(state.range(0)));
  if (!laid.loaded) return state.SkipWithError("the puzzle did not load");
  TableSurface& surface = laid.table.surface;
  Timed(state, [&] { surface.Repaint(true, true, nullptr, TableSurface::GetDirtyRegions()); });
  state.counters["pieces"] = surface.GetChipList().Count();
}

// A carried piece (or a group of 50) moved 5 pixels to and fro: the changed regions only.
void BM_DragStep(benchmark::State& state) {
  LaidOutTable laid(1000);
  if (!laid.loaded) return state.SkipWithError("the puzzle did not load");
  TableSurface& surface = laid.table.surface;
  PuzzleChip* piece = state.range(0) == 1 ? surface.GetChipList().At(0) : laid.JoinBlock(10, 5);
  surface.Refresh();
  const QPoint grab(piece->TableX() + piece->Mask().TableWidth() / 2,
                    piece->TableY() + piece->Mask().TableHeight() / 2);
  surface.PickUp(piece, grab.x(), grab.y());
  int step = 0;
  Timed(state, [&] { surface.DragTo(grab.x() + (++step % 2) * 5, grab.y(), true); });
  state.counters["carried"] = surface.Selection() ? surface.Selection()->Count() : 0;
}

}  // namespace

BENCHMARK_CAPTURE(BM_MemcpyPass, 1920x1080, TableWidth, TableHeight)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Present, 1920x1080, QRect())->Unit(benchmark::kMicrosecond);
// A 200 × 160 piece moved 5 pixels to the right: the old and the new rectangle.
BENCHMARK_CAPTURE(BM_Present, dirty, QRect(600, 400, 200, 160) | QRect(605, 400, 200, 160))
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_FullRedraw)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Arg(1)->Arg(50)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Prompt::Double prompts;  // a refused load must not wait for a click
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  reporter.PrintRatio("present / memcpy pass", "BM_Present/1920x1080", "BM_MemcpyPass/1920x1080", 3.0);
  reporter.PrintRatio("full redraw, 1000 pieces / memcpy pass", "BM_FullRedraw/1000", "BM_MemcpyPass/1920x1080", 6.0);
  reporter.PrintRatio("full redraw, 2000 pieces / memcpy pass", "BM_FullRedraw/2000", "BM_MemcpyPass/1920x1080", 6.0);
  reporter.PrintRatio("drag step, a piece / full redraw", "BM_DragStep/1", "BM_FullRedraw/1000", 0.2);
  reporter.PrintRatio("drag step, 50 pieces / full redraw", "BM_DragStep/50", "BM_FullRedraw/1000", 0.2);
  benchmark::Shutdown();
  return 0;
}
