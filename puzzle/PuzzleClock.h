#pragma once
// The play clock: whole seconds played, plus the stretch running now. Ticks are milliseconds
// of a 32-bit counter that wraps; a stretch is measured by modular subtraction, so a wrap or
// a counter that reads 0 loses nothing.

#include <cstdint>
#include <functional>

class PuzzleClock {
public:
  using TickSource = std::function<std::uint32_t()>;

  // Milliseconds from the tick source.
  static std::uint32_t Now();
  // An empty source restores the system's monotonic clock.
  static void SetTickSource(TickSource source);

  // Starts a stretch unless one runs or the clock was frozen.
  void Start();
  // Adds the running stretch, rounded to whole seconds; with freeze the clock stays stopped.
  void Stop(bool freeze);
  // The stored seconds plus the whole seconds of the running stretch.
  int ElapsedSeconds() const;
  // The stored seconds (a saved game's play time); negative counts as 0.
  void SetElapsed(int seconds);

  bool IsRunning() const { return running; }
  bool IsFrozen() const { return frozen; }

private:
  std::uint32_t Stretch() const;

  int elapsed = 0;
  std::uint32_t start = 0;
  bool running = false;
  bool frozen = false;
};
