#include "SynthLog.h"

#include <atomic>
#include <fluidsynth.h>

namespace {
std::atomic<std::uint64_t> heard{0};
std::atomic<SynthLog::Sink> sink{nullptr};

// On the audio thread, inside the mixer's lock: counts, and passes on the first few lines.
void Counted(int, const char* message, void*) {
  if (heard.fetch_add(1, std::memory_order_relaxed) >= std::uint64_t(SynthLog::LinesShown)) return;
  const SynthLog::Sink to = sink.load();
  if (!to || !message) return;
  try {
    to(QStringLiteral("Synthesiser: ") + QString::fromUtf8(message));
  } catch (...) {
    // Nothing may unwind through the synthesiser's frames.
  }
}

// Its progress notes and debugging lines say nothing to a player.
void Ignored(int, const char*, void*) {}
}  // namespace

void SynthLog::Install() {
  static const bool installed = [] {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN}) fluid_set_log_function(level, Counted, nullptr);
    for (const int level : {FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, Ignored, nullptr);
    return true;
  }();
  (void)installed;
}

void SynthLog::SetSink(Sink to) { sink = to; }

std::uint64_t SynthLog::Heard() { return heard; }

void SynthLog::Report() {
  const std::uint64_t count = heard.exchange(0);
  const Sink to = sink.load();
  if (count > std::uint64_t(LinesShown) && to)
    to(QStringLiteral("Synthesiser: %1 more messages were not shown.").arg(count - LinesShown));
}
