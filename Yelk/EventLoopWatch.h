#pragma once
// When the main thread's event loop last ran. Qt cannot peek into the window system's
// queue, so long work asks instead whether the loop has been kept waiting long enough
// that input is likely to be pending.

#include <QtGlobal>
#include <functional>

class EventLoopWatch {
public:
  static constexpr qint64 OverdueMs = 50;

  // True once OverdueMs have passed since the loop last ran. The first call starts the
  // watch and answers false. Main thread only.
  static bool LoopIsOverdue();
  // Milliseconds of a steady clock (tests); an empty function restores the real one.
  static void SetClock(std::function<qint64()> clock);
};
