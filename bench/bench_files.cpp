// Saving and loading a game of 2000 pieces laid out on a 1920 × 1080 table, each beside the
// plain file work on the same bytes, measured in the same run:
//   BM_SaveGame   the saved game built in memory and put in place of the old file
//   BM_WriteBytes the file's bytes written to a file of their own (target for the save: 3×)
//   BM_LoadGame   the saved game read: its records checked, its pictures measured, its note
//   BM_ReadBytes  the file's bytes read (target for the load: 3×)
// The picture is a 2400 × 1500 JPEG, so the file is mostly its picture block.

#include "LaidOutTable.h"
#include "RatioReporter.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/PuzzleFileStatus.h"
#include "Yelk/Prompt.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

constexpr int Pieces = 2000;

// A puzzle cut into about 2000 pieces, laid out, and saved once.
struct SavedGame {
  SavedGame() : laid(Pieces, QStringLiteral("game.jpg")) {
    ready = laid.loaded && JigsawFile::SaveFile(path, *laid.puzzle, {});
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  }

  LaidOutTable laid;
  const QString path = laid.folder.filePath(QStringLiteral("game.saw"));
  QByteArray bytes;
  bool ready = false;
};

// Made once in main, while the application object lives.
SavedGame* theGame = nullptr;
SavedGame& Game() { return *theGame; }

void BM_SaveGame(benchmark::State& state) {
  SavedGame& game = Game();
  if (!game.ready) return state.SkipWithError("the game did not save");
  for (auto _ : state)
    if (!JigsawFile::SaveFile(game.path, *game.laid.puzzle, {})) return state.SkipWithError("save failed");
  state.counters["pieces"] = game.laid.table.PiecesAnywhere();
  state.counters["file_kb"] = double(game.bytes.size()) / 1024;
}

void BM_WriteBytes(benchmark::State& state) {
  SavedGame& game = Game();
  const QString path = game.laid.folder.filePath(QStringLiteral("copy.bin"));
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(game.bytes) != game.bytes.size())
      return state.SkipWithError("write failed");
  }
}

void BM_LoadGame(benchmark::State& state) {
  SavedGame& game = Game();
  if (!game.ready) return state.SkipWithError("the game did not save");
  for (auto _ : state) {
    JigsawFile file(game.path);
    if (file.Status() != pfsReady) return state.SkipWithError("load failed");
    benchmark::DoNotOptimize(file.PieceRecords().data());
  }
}

void BM_ReadBytes(benchmark::State& state) {
  SavedGame& game = Game();
  for (auto _ : state) {
    QFile file(game.path);
    if (!file.open(QIODevice::ReadOnly)) return state.SkipWithError("read failed");
    const QByteArray bytes = file.readAll();
    benchmark::DoNotOptimize(bytes.constData());
  }
}

}  // namespace

BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Prompt::Double prompts;  // a refused load must not wait for a click
  SavedGame game;
  theGame = &game;
  RatioReporter reporter;
  RunInterleaved(argc, argv, reporter);
  reporter.PrintRatio("save a 2000-piece game / write its bytes", "BM_SaveGame", "BM_WriteBytes", 3.0);
  reporter.PrintRatio("load a 2000-piece game / read its bytes", "BM_LoadGame", "BM_ReadBytes", 3.0);
  benchmark::Shutdown();
  return 0;
}
