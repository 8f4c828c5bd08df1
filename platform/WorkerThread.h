#pragma once
// A thread of our own over std::thread, created suspended: Execute runs from the first Resume.
// The body may suspend itself until the next Resume, checks the terminate flag, and hands calls
// to the main thread (Synchronize). A Resume that arrives while the body runs is kept, so the
// next Suspend returns at once: a wake-up is never lost between a check and the suspend.
// Derived destructors call Stop(): the body must end before the derived part goes.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class WorkerThread {
public:
  WorkerThread();
  virtual ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the thread the first time; afterwards wakes it from Suspend.
  void Resume();
  // Sets the terminate flag; does not wake the thread.
  void Terminate();
  bool IsTerminated() const;
  // Terminate, Resume and WaitFor: the usual end.
  void Stop();
  // Waits for Execute to end. On the main thread it runs queued synchronised calls meanwhile.
  void WaitFor();
  // Started and Execute not yet ended.
  bool IsRunning() const;
  bool IsStarted() const;

protected:
  virtual void Execute() = 0;
  // Waits until the next Resume; returns at once when terminated or when a Resume came
  // since the last Suspend.
  void Suspend();
  // Runs call on the main thread and waits for it.
  void Synchronize(const std::function<void()>& call);

private:
  void Run();

  std::atomic<bool> terminated{false};
  std::atomic<bool> started{false};
  std::atomic<bool> running{false};
  mutable std::mutex mutex;
  std::condition_variable wake;
  bool wakePending = false;
  std::mutex joinMutex;
  std::thread thread;
};
