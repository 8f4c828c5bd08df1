#include "platform/ManualEvent.h"

#include <chrono>

ManualEvent::ManualEvent(bool initiallySet) : set(initiallySet) {}

void ManualEvent::Set() {
  {
    std::lock_guard lock(mutex);
    set = true;
  }
  changed.notify_all();
}

void ManualEvent::Reset() {
  std::lock_guard lock(mutex);
  set = false;
}

bool ManualEvent::IsSet() const {
  std::lock_guard lock(mutex);
  return set;
}

bool ManualEvent::WaitFor(int milliseconds) {
  std::unique_lock lock(mutex);
  if (milliseconds < 0) {
    changed.wait(lock, [this] { return set; });
    return true;
  }
  return changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return set; });
}
