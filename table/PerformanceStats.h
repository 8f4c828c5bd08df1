#pragma once
// How the animation keeps up: whether it runs, and the projector's two counters, copied for
// the main window's display every 16th presented frame.

struct PerformanceStats {
  bool running = false;
  int first = 0;
  int second = 0;
};
