#include "PuzzleClock.h"

#include <QElapsedTimer>
#include <algorithm>
#include <climits>

namespace {

PuzzleClock::TickSource& Source() {
  static PuzzleClock::TickSource source;
  return source;
}

std::uint32_t SystemTicks() {
  static QElapsedTimer timer = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return static_cast<std::uint32_t>(timer.elapsed());
}

int AddSeconds(int seconds, std::uint64_t more) {
  return static_cast<int>(std::min<std::uint64_t>(std::uint64_t(seconds) + more, INT_MAX));
}

}  // namespace

std::uint32_t PuzzleClock::Now() {
  const TickSource& source = Source();
  return source ? source() : SystemTicks();
}

void PuzzleClock::SetTickSource(TickSource source) { Source() = std::move(source); }

std::uint32_t PuzzleClock::Stretch() const { return Now() - start; }

void PuzzleClock::Start() {
  if (running || frozen) return;
  start = Now();
  running = true;
}

void PuzzleClock::Stop(bool freeze) {
  if (running) {
    elapsed = AddSeconds(elapsed, (std::uint64_t(Stretch()) + 500) / 1000);
    running = false;
  }
  if (freeze) frozen = true;
}

int PuzzleClock::ElapsedSeconds() const {
  return running ? AddSeconds(elapsed, Stretch() / 1000) : elapsed;
}

void PuzzleClock::SetElapsed(int seconds) { elapsed = std::max(seconds, 0); }
