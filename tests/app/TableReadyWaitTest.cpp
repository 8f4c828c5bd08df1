#include "TableReadyWait.h"

#include <QTest>
#include <gtest/gtest.h>

// What waits for the table runs once: at once when the table is ready, else as soon as it
// is, and at the limit when it never is; nothing runs twice or after being given up.
TEST(TableReadyWaitTest, RunsOnceWhenReadyAtTheLimitOrNeverWhenStopped) {
  TableReadyWait wait;
  int runs = 0;
  wait.Start([] { return true; }, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(wait.IsWaiting());

  bool ready = false;
  wait.Start([&] { return ready; }, [&] { ++runs; });
  EXPECT_TRUE(wait.IsWaiting());
  QTest::qWait(TableReadyWait::PollMillis * 3);
  EXPECT_EQ(runs, 1);
  ready = true;
  EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 2; }, TableReadyWait::LimitMillis));
  EXPECT_FALSE(wait.IsWaiting());
  wait.Check();
  QTest::qWait(TableReadyWait::PollMillis * 3);
  EXPECT_EQ(runs, 2);

  wait.Start([] { return false; }, [&] { ++runs; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return runs == 3; }, TableReadyWait::LimitMillis * 3));
  EXPECT_FALSE(wait.IsWaiting());

  wait.Start([] { return false; }, [&] { ++runs; });
  wait.Stop();
  EXPECT_FALSE(wait.IsWaiting());
  QTest::qWait(TableReadyWait::PollMillis * 3);
  EXPECT_EQ(runs, 3);
}

// A wait begun while another runs replaces it; what runs may begin the next wait itself.
TEST(TableReadyWaitTest, ALaterWaitReplacesAnEarlierAndMayBeginFromWhatRuns) {
  TableReadyWait wait;
  bool ready = false;
  int first = 0, second = 0, chained = 0;
  wait.Start([&] { return ready; }, [&] { ++first; });
  wait.Start([&] { return ready; }, [&] {
    ++second;
    wait.Start([] { return true; }, [&] { ++chained; });
  });
  ready = true;
  wait.Check();
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(chained, 1);
  EXPECT_FALSE(wait.IsWaiting());
}
