// Preparing a puzzle: the cutting die, and the die cut into pieces with their masks, bevel
// rings and shadow outlines, measured against one memcpy pass over a 32-bit picture of the
// same size (the memory bandwidth limit). Each case runs once before it is timed; each die
// and bevel map allocates its memory afresh, as the game does.

#include "puzzle/BevelFilter.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PictureSizeSource.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/PuzzleTable.h"

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

// A table that only holds the pieces.
class PieceTable : public PuzzleTable {
public:
  PieceTable() { SetCurrent(this); }
  QSize AvailableArea() const override { return {1920, 1080}; }
  int GetWidth() const override { return 1920; }
  int GetHeight() const override { return 1080; }
  void DeleteAllPieces() override { pieces_.DeleteAll(); }
  ChipList& GetChipList() override { return pieces_; }

private:
  ChipList pieces_;
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

// What the game does from the picture to the pieces laid out: the die, the cut with the
// outlines, and every piece's bevel rings.
int CutOnce(PictureSizeSource& picture, PuzzleTable& table, int pieceSize) {
  CuttingDie die(&picture, pieceSize, nullptr);
  BevelFilter bevel(nullptr, true, die.Height(), die.Width());
  const int pieces = CuttingDie::CutChips(&die, &bevel, true, nullptr);
  ChipList& list = table.GetChipList();
  for (int i = 0; i < list.Count(); ++i) list[i]->Mask().BuildBevel(bevel);
  list.DeleteAll();
  return pieces;
}

void Cut(benchmark::State& state, Case c) {
  FixedPicture picture(c.width, c.height);
  PieceTable table;
  if (CutOnce(picture, table, c.pieceSize) == 0) state.SkipWithError("the die did not cut");
  for (auto _ : state) benchmark::DoNotOptimize(CutOnce(picture, table, c.pieceSize));
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
  benchmark::RegisterBenchmark("BM_Cut/4MP_1000", Cut, FourMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_Cut/12MP_2000", Cut, TwelveMegapixels)
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
