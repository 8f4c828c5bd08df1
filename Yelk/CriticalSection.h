#pragma once
// A lock that the thread holding it may enter again; every Enter is paired with a Leave.

#include <mutex>

class CriticalSection {
public:
  CriticalSection() = default;
  ~CriticalSection() = default;
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { mutex.lock(); }
  void Leave() { mutex.unlock(); }

private:
  std::recursive_mutex mutex;
};
