#include "table/Framer.h"

#include "Yelk/TMsgLog.h"
#include "platform/PeriodicTimer.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// The list and the timer. The timer thread walks the list under the mutex; framers come and
// go under it on other threads. The last framer takes the timer out and stops it outside the
// mutex, since stopping waits for a walk that may be waiting for the mutex.
struct FramerList {
  std::mutex mutex;
  std::vector<Framer*> framers;
  std::unique_ptr<PeriodicTimer> timer;
};

FramerList& List() {
  static FramerList list;
  return list;
}

}  // namespace

Framer::Framer(std::function<void()> handler) : handler(std::move(handler)) {
  FramerList& list = List();
  std::lock_guard lock(list.mutex);
  if (list.framers.empty() && !list.timer) {
    auto timer = std::make_unique<PeriodicTimer>(std::chrono::milliseconds(PeriodMs), &Framer::Tick);
    if (!timer->Start()) {
      TMsgLog::Add(QStringLiteral("Framer : Failed to start framer"));
      return;
    }
    list.timer = std::move(timer);
  }
  list.framers.push_back(this);
}

Framer::~Framer() {
  FramerList& list = List();
  std::unique_ptr<PeriodicTimer> ending;
  {
    std::lock_guard lock(list.mutex);
    auto it = std::find(list.framers.begin(), list.framers.end(), this);
    if (it == list.framers.end()) return;  // its timer never started
    list.framers.erase(it);
    if (list.framers.empty()) ending = std::move(list.timer);
  }
  ending.reset();
}

void Framer::SetHandler(std::function<void()> handler) {
  std::lock_guard lock(List().mutex);
  this->handler = std::move(handler);
}

bool Framer::TimerRunning() {
  std::lock_guard lock(List().mutex);
  return List().timer != nullptr;
}

int Framer::Count() {
  std::lock_guard lock(List().mutex);
  return int(List().framers.size());
}

void Framer::Tick() {
  FramerList& list = List();
  std::lock_guard lock(list.mutex);
  for (auto it = list.framers.rbegin(); it != list.framers.rend(); ++it) {
    Framer* framer = *it;
    if (framer->active && framer->handler) framer->handler();
  }
}
