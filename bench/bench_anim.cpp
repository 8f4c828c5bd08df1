// Animated puzzles: a 1600 x 1200 picture cut into about 1000 pieces on a 1920 x 1080 table,
// with clips of 160 x 120 and 640 x 480 frames. Every figure is compared with a plain memcpy of
// the same bytes measured in the same run. Benchmarks are named "BM_Name/<clips>x<w>x<h>".

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstring>
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

int main(int argc, char** argv) {
  RegisterFloors();
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  return 0;
}
