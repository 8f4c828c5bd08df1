// A saved game (WHOLE_WAY_SAVED_GAME 1) or a still puzzle (0) the whole way onto the table as a
// libFuzzer target (built with clang and TV_FUZZ=ON):
//   saved_game_libfuzzer tests/table/corpus/saw      still_puzzle_libfuzzer tests/table/corpus/jig
// At its exit it writes how many inputs reached each step ("reach: ...") to stderr.

#include "WholeWayFuzzing.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void ReportReach() {
  std::fprintf(stderr, "%s\n", qPrintable(WholeWayFuzzing::Describe(WholeWayFuzzing::Totals())));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Settings and data folders of the run's own; the application is never freed, as Qt's
  // font caches are still held at exit.
  TestEnvironment::Prepare();
  new QApplication(*argc, *argv);
  WholeWayFuzzing::Prepare();
  std::atexit(ReportReach);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WholeWayFuzzing::Load(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                        WHOLE_WAY_SAVED_GAME ? WholeWayFuzzing::Kind::SavedGame : WholeWayFuzzing::Kind::StillPuzzle);
  return 0;
}
