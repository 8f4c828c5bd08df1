#include "platform/MainThreadCalls.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Static initialisation runs on the thread that starts the program.
const std::thread::id mainThreadId = std::this_thread::get_id();

struct PendingCall {
  const std::function<void()>* call;
  bool done = false;
};

struct CallQueue {
  std::mutex mutex;
  std::condition_variable changed;  // a call was queued, a call ended, or Notify
  std::deque<PendingCall*> calls;
  unsigned long long generation = 0;
};

CallQueue& Queue() {
  static CallQueue queue;
  return queue;
}

// Asks a running Qt event loop to drain the queue.
void NudgeEventLoop() {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  QMetaObject::invokeMethod(app, [] { MainThreadCalls::RunPending(); }, Qt::QueuedConnection);
}

}  // namespace

namespace MainThreadCalls {

bool IsMainThread() { return std::this_thread::get_id() == mainThreadId; }

void RunAndWait(const std::function<void()>& call) {
  if (IsMainThread()) {
    call();
    return;
  }
  CallQueue& queue = Queue();
  PendingCall pending{&call};
  {
    std::lock_guard lock(queue.mutex);
    queue.calls.push_back(&pending);
    ++queue.generation;
  }
  queue.changed.notify_all();
  NudgeEventLoop();
  std::unique_lock lock(queue.mutex);
  queue.changed.wait(lock, [&] { return pending.done; });
}

int RunPending() {
  CallQueue& queue = Queue();
  int ran = 0;
  for (;;) {
    PendingCall* pending = nullptr;
    {
      std::lock_guard lock(queue.mutex);
      if (queue.calls.empty()) break;
      pending = queue.calls.front();
      queue.calls.pop_front();
    }
    // The waiting thread is released even when the call throws.
    struct Release {
      CallQueue& queue;
      PendingCall* pending;
      ~Release() {
        {
          std::lock_guard lock(queue.mutex);
          pending->done = true;
        }
        queue.changed.notify_all();
      }
    } release{queue, pending};
    (*pending->call)();
    ++ran;
  }
  return ran;
}

void WaitWhile(const std::function<bool()>& busy, std::chrono::milliseconds poll) {
  CallQueue& queue = Queue();
  for (;;) {
    unsigned long long seen;
    {
      std::lock_guard lock(queue.mutex);
      seen = queue.generation;
    }
    RunPending();
    if (!busy()) return;
    std::unique_lock lock(queue.mutex);
    queue.changed.wait_for(lock, poll, [&] { return !queue.calls.empty() || queue.generation != seen; });
  }
}

void Notify() {
  CallQueue& queue = Queue();
  {
    std::lock_guard lock(queue.mutex);
    ++queue.generation;
  }
  queue.changed.notify_all();
}

}  // namespace MainThreadCalls
