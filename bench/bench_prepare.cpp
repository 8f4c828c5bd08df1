// Preparing a puzzle: the cutting die, the die cut into pieces with their masks, bevel
// rings and shadow outlines, and the whole preparation of a puzzle whose picture is already
// in memory, measured against one memcpy pass over a 32-bit picture of the same size (the
// memory bandwidth limit). Each case runs once before it is timed; each die and bevel map
// allocates its memory afresh, as the game does. The whole preparation also reports its
// peak memory above what the process held with the picture decoded (peak_rss_mb).

#include "puzzle/BevelFilter.h"
#include "puzzle/ChipList.h"
#include "puzzle/ChipMask.h"
#include "puzzle/CuttingDie.h"
#include "puzzle/PictureSizeSource.h"
#include "puzzle/PixelMap.h"
#include "puzzle/PuzzleChip.h"
#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleFileReaders.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/VideoFrameRegions.h"
#include "imaging/VirtualBuffer.h"
#include "tools/CutFixtures.h"

#include <QCoreApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

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

// The pieces of one cut, kept on the table for the cases that lay them out or shade them.
struct CutPieces {
  CutPieces(Case c)
      : picture(c.width, c.height), die(&picture, c.pieceSize, nullptr),
        cutBevel(nullptr, true, die.Height(), die.Width()) {
    PictureSizeSource::SetCurrent(&picture);
    CuttingDie::CutChips(&die, &cutBevel, false, nullptr);
  }
  ~CutPieces() {
    table.GetChipList().DeleteAll();
    PictureSizeSource::SetCurrent(nullptr);
  }
  FixedPicture picture;
  PieceTable table;
  CuttingDie die;
  BevelFilter cutBevel;
};

// A fresh bevel map, every piece's rings written into it and the picture shaded whole.
void ShadeOnce(VirtualBuffer& picture, ChipList& pieces) {
  BevelFilter bevel(&picture, true, picture.height, picture.width);
  for (int i = 0; i < pieces.Count(); ++i) pieces.At(i)->Mask().BuildBevel(bevel);
  VideoFrameRegions whole;
  whole.SetWholeFrame();
  bevel.Apply(whole);
}

void Bevel(benchmark::State& state, Case c) {
  CutPieces cut(c);
  VirtualBuffer picture(c.width, c.height, QStringLiteral("picture"));
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) picture.Row(y)[x] = std::uint32_t(x * 2654435761u ^ y);
  ShadeOnce(picture, cut.table.GetChipList());
  for (auto _ : state) ShadeOnce(picture, cut.table.GetChipList());
  state.counters["pieces"] = cut.table.GetChipList().Count();
}

// A fresh pixel map with every piece laid out on the table, as the first layout does.
void LayOutOnce(ChipList& pieces, PuzzleTable& table) {
  PixelMap map(PictureSizeSource::Current()->GetImageSize().width(),
               PictureSizeSource::Current()->GetImageSize().height(), &table);
  const int w = table.GetWidth(), h = table.GetHeight();
  for (int i = 0; i < pieces.Count(); ++i) {
    PuzzleChip* piece = pieces.At(i);
    piece->Place(-1, true, false, false, int(i * 7919u % unsigned(w - 100)),
                 int(i * 104729u % unsigned(h - 100)));
  }
  benchmark::DoNotOptimize(map.Row(0));
}

void LayOut(benchmark::State& state, Case c) {
  CutPieces cut(c);
  LayOutOnce(cut.table.GetChipList(), cut.table);
  for (auto _ : state) LayOutOnce(cut.table.GetChipList(), cut.table);
  state.counters["pieces"] = cut.table.GetChipList().Count();
}

// A still puzzle whose picture is held in memory: each load hands over a copy of it.
class MemoryPuzzleFile : public JigsawFileReader {
public:
  explicit MemoryPuzzleFile(const VirtualBuffer& picture) : picture_(picture) {}
  int Status() const override { return 0; }
  bool IsSavedGame() const override { return false; }
  int FileVersion() const override { return 1; }
  QSize SavedTableSize() const override { return {}; }
  QSize SavedScreenSize() const override { return {}; }
  QRect SavedWindowBounds() const override { return {}; }
  bool SavedMaximized() const override { return false; }
  QSize LargestGroupExtent() const override { return {}; }
  int ActiveMini() const override { return 0; }
  bool FitGroupsByRotating(int, int) override { return true; }
  void RestoreGroups(int, int) override {}
  std::optional<ChipRecord> PopPieceRecord() override { return std::nullopt; }
  bool HasUnknownContent() const override { return false; }
  float Scale() const override { return 1.0f; }
  int HintLimit() const override { return -1; }
  int HintsUsed() const override { return 0; }
  int ElapsedSeconds() const override { return 0; }
  int Joins() const override { return 0; }
  int PieceCount() const override { return 0; }
  int PieceSize() const override { return 0; }
  bool BevelOn() const override { return true; }
  bool LightBevel() const override { return false; }
  int SaveDate() const override { return 0; }
  int PlayWidth() const override { return picture_.width; }
  int PlayHeight() const override { return picture_.height; }
  int PictureWidth() const override { return picture_.width; }
  int PictureHeight() const override { return picture_.height; }
  int PictureFormat() const override { return 2; }
  bool JpegNotDecoded() const override { return false; }
  int BoxCoverFormat() const override { return 0; }
  bool BoxCoverAvailable() const override { return true; }
  QString GetMediaPath() const override { return {}; }
  int SavedWindowWidth(int windowWidth, int) const override { return windowWidth; }
  int SavedWindowHeight(int windowHeight, int) const override { return windowHeight; }
  bool UprightOffered() const override { return true; }
  BoxCoverWindowPlace SavedBoxCoverWindow() const override { return {}; }
  bool NoteHiddenUntilSolved() const override { return false; }
  bool NoteShownWhenSolved() const override { return false; }
  qint64 SoundSize() const override { return 0; }
  int SoundKind() const override { return 0; }
  bool HasSoundTrack() const override { return false; }
  void LoadSoundTrack() override {}
  bool CopySoundTrack(QIODevice&) override { return true; }
  void Repoint(const JigsawBlocks&) override {}
  const QByteArray* GetNoteStream() const override { return nullptr; }
  QImage GetBitmap() override { return {}; }
  std::unique_ptr<VirtualBuffer> GetPicture() override {
    auto copy = std::make_unique<VirtualBuffer>(picture_.width, picture_.height,
                                                QStringLiteral("picture"));
    for (int y = 0; y < picture_.height; ++y)
      std::memcpy(copy->Row(y), picture_.Row(y), std::size_t(picture_.width) * 4);
    return copy;
  }
  std::unique_ptr<VirtualBuffer> GetPreviewBuffer() override { return nullptr; }
  bool CopyPicture(QIODevice&) override { return true; }
  bool CopyBoxCover(QIODevice&) override { return true; }

private:
  const VirtualBuffer& picture_;
};

// Resident memory in MiB: the peak since the last reset, or the current amount.
double ResidentMb(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(int(std::strlen(field))).trimmed().split(' ')[0].toDouble() / 1024;
  return 0;
}

void ResetPeakResident() {
  if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);
    std::fclose(clear);
  }
}

void Prepare(benchmark::State& state, Case c) {
  VirtualBuffer source(c.width, c.height, QStringLiteral("source"));
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) source.Row(y)[x] = std::uint32_t(x * 2654435761u ^ y);
  PuzzleFileReaders::SetJigsawOpener(
      [&source](const QString&) { return std::make_unique<MemoryPuzzleFile>(source); });
  PieceTable table;
  Puzzle puzzle(QStringLiteral("memory.jig"));
  puzzle.SetPieceSize(c.pieceSize);
  // The first preparation's peak, less the live picture it loads: that copy stands for the
  // decoded picture, and `source` only for the file the game would read it from.
  const double pictureMb = double(c.width) * c.height * 4 / (1024 * 1024);
  ResetPeakResident();
  const double baseline = ResidentMb("VmRSS:");
  if (!puzzle.Prepare(&table, nullptr)) state.SkipWithError("the puzzle was not prepared");
  state.counters["peak_rss_mb"] = ResidentMb("VmHWM:") - baseline - pictureMb;
  for (auto _ : state) benchmark::DoNotOptimize(puzzle.Prepare(&table, nullptr));
  state.counters["picture_mb"] = pictureMb;
  state.counters["pieces"] = puzzle.GetPieceCount();
  table.GetChipList().DeleteAll();
  PuzzleFileReaders::SetJigsawOpener({});
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
  benchmark::RegisterBenchmark("BM_Bevel/4MP_1000", Bevel, FourMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_Bevel/12MP_2000", Bevel, TwelveMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_PixelMap/12MP_2000", LayOut, TwelveMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_Prepare/4MP_1000", Prepare, FourMegapixels)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_Prepare/12MP_2000", Prepare, TwelveMegapixels)
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  // Large blocks always mapped afresh and given back when freed, so that one case's freed
  // memory neither hides nor inflates the next one's peak.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  QCoreApplication application(argc, argv);  // the settings find their folder through it
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
