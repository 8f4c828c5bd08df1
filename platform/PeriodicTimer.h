#pragma once
// One thread that calls a function at fixed absolute deadlines (start + n × period). A call
// that runs late makes the timer skip the deadlines it missed instead of catching up.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class PeriodicTimer {
public:
  PeriodicTimer(std::chrono::milliseconds period, std::function<void()> tick);
  ~PeriodicTimer();
  PeriodicTimer(const PeriodicTimer&) = delete;
  PeriodicTimer& operator=(const PeriodicTimer&) = delete;

  // False when the thread cannot be made.
  bool Start();
  // Ends the thread and waits for it; never from inside the tick function.
  void Stop();
  bool IsActive() const;

private:
  void Run();

  const std::chrono::milliseconds period;
  const std::function<void()> tick;
  mutable std::mutex mutex;
  std::condition_variable stopRequested;
  bool stopping = false;
  std::thread thread;
};
