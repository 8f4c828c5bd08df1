// Preparing a puzzle: the cutting die, measured against one memcpy pass over a 32-bit
// picture of the same size (the memory bandwidth limit). Each case runs once before it is
// timed; each die allocates its buffer afresh, as the game does.

#include "puzzle/CuttingDie.h"
#include "puzzle/PictureSizeSource.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class FixedPicture : public PictureSizeSource {
public:
  FixedPicture(int width, int height) : size_(width, height) {}
  QSize GetImageSize() override { return size_; }

private:
  QSize size_;
};

// 2400 x 1700 at 63 pixels: 38 x 26 = 988 pieces; 4000 x 3000 at 77: 51 x 38 = 1938.
struct Case {
  const char* name;
  int width, height, pieceSize;
};
constexpr Case FourMegapixels{"4MP", 2400, 1700, 63};
constexpr Case TwelveMegapixels{"12MP", 4000, 3000, 77};

void Die(benchmark::State& state, Case c) {
  FixedPicture picture(c.width, c.height);
  CuttingDie warmUp(&picture, c.pieceSize, nullptr);
  for (auto _ : state) {
    CuttingDie die(&picture, c.pieceSize, nullptr);
    benchmark::DoNotOptimize(die.Buffer());
  }
  state.counters["pieces"] = double(c.width / c.pieceSize) * (c.height / c.pieceSize);
}

void MemcpyPass(benchmark::State& state, Case c) {
  const std::size_t pixels = std::size_t(c.width) * c.height;
  std::vector<std::uint32_t> from(pixels, 0xFFFFFF), to(pixels, 0);
  std::memcpy(to.data(), from.data(), pixels * sizeof(std::uint32_t));
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), pixels * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(pixels) * 4);
}

void Register() {
  for (const Case& c : {FourMegapixels, TwelveMegapixels}) {
    benchmark::RegisterBenchmark((std::string("BM_MemcpyPass/") + c.name).c_str(), MemcpyPass, c)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("BM_Die/4MP_1000", Die, FourMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_Die/12MP_2000", Die, TwelveMegapixels)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
