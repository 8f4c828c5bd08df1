#include "platform/WorkerThread.h"

#include "platform/MainThreadCalls.h"

#include <QtGlobal>

#include <system_error>

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread() {
  if (IsRunning()) {
    // The derived part is gone already; ending the thread here is the last safe thing to do.
    qWarning("A worker thread was destroyed while running; its derived class must call Stop().");
    Stop();
  }
  std::lock_guard lock(joinMutex);
  if (thread.joinable()) thread.join();
}

void WorkerThread::Resume() {
  bool expected = false;
  if (started.compare_exchange_strong(expected, true)) {
    running = true;
    std::lock_guard lock(joinMutex);
    try {
      thread = std::thread([this] { Run(); });
    } catch (const std::system_error& error) {
      running = false;
      qWarning("A worker thread could not start: %s", error.what());
    }
    return;
  }
  {
    std::lock_guard lock(mutex);
    wakePending = true;
  }
  wake.notify_all();
}

void WorkerThread::Run() {
  Execute();
  {
    std::lock_guard lock(mutex);
    running = false;
  }
  wake.notify_all();
  MainThreadCalls::Notify();
}

void WorkerThread::Terminate() { terminated = true; }

bool WorkerThread::IsTerminated() const { return terminated; }

void WorkerThread::Stop() {
  Terminate();
  // A thread never started stays so: its body would only see the flag.
  bool expected = false;
  if (started.compare_exchange_strong(expected, true)) return;
  Resume();
  WaitFor();
}

void WorkerThread::WaitFor() {
  if (!started) return;
  if (MainThreadCalls::IsMainThread()) {
    MainThreadCalls::WaitWhile([this] { return running.load(); });
  } else {
    std::unique_lock lock(mutex);
    wake.wait(lock, [this] { return !running; });
  }
  std::lock_guard lock(joinMutex);
  if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) thread.join();
}

bool WorkerThread::IsRunning() const { return running; }

bool WorkerThread::IsStarted() const { return started; }

void WorkerThread::Suspend() {
  std::unique_lock lock(mutex);
  wake.wait(lock, [this] { return wakePending || terminated; });
  wakePending = false;
}

void WorkerThread::Synchronize(const std::function<void()>& call) { MainThreadCalls::RunAndWait(call); }
