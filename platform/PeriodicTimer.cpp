#include "platform/PeriodicTimer.h"

#include <system_error>

PeriodicTimer::PeriodicTimer(std::chrono::milliseconds period, std::function<void()> tick)
    : period(period), tick(std::move(tick)) {}

PeriodicTimer::~PeriodicTimer() { Stop(); }

bool PeriodicTimer::Start() {
  std::lock_guard lock(mutex);
  if (thread.joinable()) return true;
  stopping = false;
  try {
    thread = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void PeriodicTimer::Stop() {
  std::thread ending;
  {
    std::lock_guard lock(mutex);
    stopping = true;
    ending = std::move(thread);
  }
  stopRequested.notify_all();
  if (ending.joinable()) ending.join();
}

bool PeriodicTimer::IsActive() const {
  std::lock_guard lock(mutex);
  return thread.joinable();
}

void PeriodicTimer::Run() {
  using Clock = std::chrono::steady_clock;
  Clock::time_point deadline = Clock::now() + period;
  std::unique_lock lock(mutex);
  for (;;) {
    if (stopRequested.wait_until(lock, deadline, [this] { return stopping; })) return;
    lock.unlock();
    tick();
    lock.lock();
    Clock::time_point now = Clock::now();
    deadline += period;
    if (deadline <= now) deadline += ((now - deadline) / period + 1) * period;
  }
}
