#pragma once
// A client of the one shared 67 ms timer. The first framer starts the timer thread, the last
// stops it. The handler runs on the timer thread and must only wake a thread of its owner.

#include <atomic>
#include <functional>

class Framer {
public:
  static constexpr int PeriodMs = 67;

  explicit Framer(std::function<void()> handler = {});
  ~Framer();
  Framer(const Framer&) = delete;
  Framer& operator=(const Framer&) = delete;

  void SetHandler(std::function<void()> handler);
  void SetActive(bool on) { active = on; }
  bool IsActive() const { return active; }

  // Whether the timer thread runs (it does exactly while framers exist).
  static bool TimerRunning();
  static int Count();

private:
  static void Tick();

  std::atomic<bool> active{false};
  std::function<void()> handler;
};
