#pragma once
// A manual-reset event: once set it stays set, releasing every waiter, until reset.

#include <condition_variable>
#include <mutex>

class ManualEvent {
public:
  explicit ManualEvent(bool initiallySet);
  ManualEvent(const ManualEvent&) = delete;
  ManualEvent& operator=(const ManualEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event is set within the time; a negative time waits for good.
  bool WaitFor(int milliseconds);

private:
  mutable std::mutex mutex;
  std::condition_variable changed;
  bool set;
};
