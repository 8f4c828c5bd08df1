#pragma once
// The one queue of calls that worker threads hand to the main thread and wait for. A Qt event
// loop drains it when nudged; a main thread that waits for a worker drains it while waiting, so
// a worker blocked in a synchronised call never deadlocks the thread that waits for it. Tests
// drain it without Qt.

#include <chrono>
#include <functional>

namespace MainThreadCalls {

// True on the thread that started the program.
bool IsMainThread();

// Runs call on the main thread and returns when it has run there; on the main thread it runs
// at once.
void RunAndWait(const std::function<void()>& call);

// Runs every queued call; returns how many ran. Main thread only.
int RunPending();

// Main thread: runs queued calls until busy() answers false. Wakes on every queued call and
// on every Notify(), and at least every poll period.
void WaitWhile(const std::function<bool()>& busy,
               std::chrono::milliseconds poll = std::chrono::milliseconds(20));

// Wakes WaitWhile so that it asks busy() again (a thread has ended).
void Notify();

}  // namespace MainThreadCalls
