// Sound tracks as a libFuzzer target (built with clang and TV_FUZZ=ON):
//   sound_track_libfuzzer -max_len=262144 tests/puzzle/corpus/music
// Each input is checked and, when the check takes it, played under the dummy audio driver,
// paused, resumed and stopped. Under the sanitizers a call may block the main thread four
// times the game's bound of 100 ms before the input counts as a finding: the library runs
// uninstrumented, but every allocation it makes goes through the sanitizer's allocator. At
// exit the totals go to stderr ("reach: ...").

#include "MusicMutator.h"
#include "SoundTrackFuzzing.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {
constexpr qint64 SanitizedBoundMs = 4 * 100;

void Report() { std::fprintf(stderr, "%s\n", qPrintable(SoundTrackFuzzing::Describe())); }
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  TestEnvironment::Prepare();
  new QCoreApplication(*argc, *argv);  // never freed: the audio device may still report to it
  SoundTrackFuzzing::Prepare(SanitizedBoundMs, true);
  std::atexit(Report);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SoundTrackFuzzing::Run(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  return 0;
}

// Mostly the structure-aware changes; now and then the fuzzer's own byte-level ones.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
  std::mt19937 random(seed);
  if (random() % 4 != 0) {
    const QByteArray changed = MusicMutator::Mutate(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), random);
    if (!changed.isEmpty() && std::size_t(changed.size()) <= maxSize) {
      std::memcpy(data, changed.constData(), std::size_t(changed.size()));
      return std::size_t(changed.size());
    }
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}
