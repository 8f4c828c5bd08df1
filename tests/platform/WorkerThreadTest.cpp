// The thread layer under many threads at once: resumes, self-suspends, terminations and calls
// handed to the main thread, in random orders; the event's timed wait and the periodic timer.

#include "platform/MainThreadCalls.h"
#include "platform/ManualEvent.h"
#include "platform/PeriodicTimer.h"
#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Counts its rounds; every round hands one call to the main thread, then suspends.
class Looper : public WorkerThread {
public:
  explicit Looper(bool synchronise) : synchronise(synchronise) {}
  const bool synchronise;
  ~Looper() override { Stop(); }

  std::atomic<int> rounds{0};
  int mainThreadRounds = 0;  // only touched on the main thread
  int offMainThread = 0;
  std::atomic<int> executions{0};
  std::atomic<int> resumes{0};
  bool neverStarts = false;

  void Wake() {
    ++resumes;
    Resume();
  }

protected:
  void Execute() override {
    ++executions;
    while (!IsTerminated()) {
      ++rounds;
      if (synchronise) {
        Synchronize([this] {
          if (!MainThreadCalls::IsMainThread()) ++offMainThread;
          ++mainThreadRounds;
        });
      }
      Suspend();
    }
  }
};

TEST(WorkerThreadTest, ManyThreadsResumeSuspendSynchroniseAndEnd) {
  std::mt19937 random(20261207);
  for (int trial = 0; trial < 40; ++trial) {
    const int count = 1 + static_cast<int>(random() % 12);
    std::vector<std::unique_ptr<Looper>> threads;
    for (int i = 0; i < count; ++i) threads.push_back(std::make_unique<Looper>(random() % 4 != 0));
    const int actions = static_cast<int>(random() % 200);
    for (int a = 0; a < actions; ++a) {
      Looper& thread = *threads[random() % threads.size()];
      switch (random() % 6) {
        case 0:
        case 1:
        case 2: thread.Wake(); break;
        case 3: MainThreadCalls::RunPending(); break;
        case 4: std::this_thread::yield(); break;
        case 5:
          if (random() % 8 == 0) {
            if (thread.resumes == 0) thread.neverStarts = true;  // stopped before its start
            thread.Stop();
          }
          break;
      }
    }
    // Some threads end through Stop while their last call waits for the main thread,
    // the others through their destructors.
    for (auto& thread : threads) {
      if (random() % 2 == 0) {
        thread->Stop();
        EXPECT_FALSE(thread->IsRunning());
      }
    }
    for (auto& thread : threads) {
      Looper& t = *thread;
      t.Stop();
      EXPECT_FALSE(t.IsRunning());
      EXPECT_EQ(0, t.offMainThread);
      // Created suspended: no body before the first Resume, and only one body ever.
      EXPECT_EQ(t.resumes > 0 && !t.neverStarts ? 1 : 0, t.executions.load()) << "trial " << trial;
      // A resume gives at most one round.
      EXPECT_LE(t.rounds.load(), t.resumes.load() + 1);
      // Every round's call has run by the time the body ended.
      EXPECT_EQ(t.synchronise ? t.rounds.load() : 0, t.mainThreadRounds) << "trial " << trial;
    }
    EXPECT_EQ(0, MainThreadCalls::RunPending());
  }
}

TEST(WorkerThreadTest, ResumeDuringTheBodyIsKeptForTheNextSuspend) {
  ManualEvent inBody(false);
  ManualEvent goOn(false);
  struct Once : WorkerThread {
    ManualEvent& inBody;
    ManualEvent& goOn;
    std::atomic<int> passes{0};
    Once(ManualEvent& a, ManualEvent& b) : inBody(a), goOn(b) {}
    ~Once() override { Stop(); }
    void Execute() override {
      inBody.Set();
      goOn.WaitFor(-1);
      Suspend();  // the Resume that came meanwhile lets this through
      ++passes;
      Suspend();
    }
  } thread(inBody, goOn);
  thread.Resume();
  ASSERT_TRUE(inBody.WaitFor(5000));
  thread.Resume();
  goOn.Set();
  for (int i = 0; i < 500 && thread.passes == 0; ++i) std::this_thread::sleep_for(milliseconds(2));
  EXPECT_EQ(1, thread.passes.load());
  EXPECT_TRUE(thread.IsRunning());
}

TEST(WorkerThreadTest, EventWaitsUntilSetOrTimesOut) {
  ManualEvent event(false);
  Clock::time_point start = Clock::now();
  EXPECT_FALSE(event.WaitFor(30));
  EXPECT_GE(Clock::now() - start, milliseconds(30));
  std::thread setter([&] {
    std::this_thread::sleep_for(milliseconds(20));
    event.Set();
  });
  EXPECT_TRUE(event.WaitFor(10000));
  setter.join();
  EXPECT_TRUE(event.WaitFor(0));  // stays set until reset
  event.Reset();
  EXPECT_FALSE(event.WaitFor(0));
  EXPECT_TRUE(ManualEvent(true).WaitFor(0));
}

TEST(WorkerThreadTest, TimerKeepsAbsoluteDeadlinesAndSkipsMissedOnes) {
  // Bounds that hold however late a busy machine runs the ticks: a tick never comes before
  // its deadline, and ticks that take longer than the period skip deadlines instead of
  // following each other at once.
  std::vector<Clock::time_point> ticks;
  std::mutex mutex;
  std::atomic<bool> slow{false};
  PeriodicTimer timer(milliseconds(20), [&] {
    {
      std::lock_guard lock(mutex);
      ticks.push_back(Clock::now());
    }
    if (slow) std::this_thread::sleep_for(milliseconds(45));
  });
  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(timer.Start());
  EXPECT_TRUE(timer.IsActive());
  std::this_thread::sleep_for(milliseconds(200));
  const Clock::time_point slowFrom = Clock::now();
  slow = true;
  std::this_thread::sleep_for(milliseconds(550));
  timer.Stop();
  EXPECT_FALSE(timer.IsActive());
  std::lock_guard lock(mutex);
  ASSERT_GE(ticks.size(), 4u);
  int slowTicks = 0;
  for (size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_GE(ticks[i] - start, milliseconds(20) * int(i + 1)) << "tick " << i;
    if (ticks[i] >= slowFrom + milliseconds(50) && ticks[i] < slowFrom + milliseconds(500)) ++slowTicks;
  }
  // Skipping gives a tick every 60 ms at most; catching up would give one every 45 ms.
  EXPECT_LE(slowTicks, 8);
  EXPECT_GE(slowTicks, 1);
  const size_t count = ticks.size();
  ticks.clear();
  std::this_thread::sleep_for(milliseconds(60));
  EXPECT_TRUE(ticks.empty()) << count;  // stopped means no more ticks
}

}  // namespace
