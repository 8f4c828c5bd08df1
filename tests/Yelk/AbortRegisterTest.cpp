#include "Yelk/AbortRegister.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>

TEST(AbortRegisterTest, SetsFlagsAndCallsEventsWithNoSender) {
  bool flag = false, other = false;
  int calls = 0;
  QObject* sender = reinterpret_cast<QObject*>(1);
  AbortRegister::AR().Register(&flag);
  AbortRegister::AR().Register(&other);
  AbortRegister::AR().Deregister(&other);
  AbortRegister::AR().Register(&calls, [&](QObject* s) { ++calls, sender = s; });
  AbortRegister::AR().Abort();
  EXPECT_TRUE(flag);
  EXPECT_FALSE(other);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sender, nullptr);

  AbortRegister::AR().Deregister(&flag);
  AbortRegister::AR().Deregister(&calls);
  // Unknown registrants are ignored.
  AbortRegister::AR().Deregister(&other);
  AbortRegister::AR().Deregister(reinterpret_cast<const void*>(0x1234));
  flag = false;
  AbortRegister::AR().Abort();
  EXPECT_FALSE(flag);
  EXPECT_EQ(calls, 1);
}

// An abort event that ends a long job may free the job's other registrants.
TEST(AbortRegisterTest, EventMayFreeOtherRegistrantsDuringAnAbort) {
  struct Job {
    int aborted = 0;
    Job() { AbortRegister::AR().Register(this, [this](QObject*) { ++aborted; }); }
    ~Job() { AbortRegister::AR().Deregister(this); }
  };
  auto second = std::make_unique<Job>();
  int firstCalls = 0;
  const int owner = 0;
  AbortRegister::AR().Register(&owner, [&](QObject*) {
    ++firstCalls;
    second.reset();
    AbortRegister::AR().Deregister(&owner);
  });
  AbortRegister::AR().Register(&owner, [&](QObject*) { ++firstCalls; });
  AbortRegister::AR().Abort();
  EXPECT_EQ(firstCalls, 1);
  EXPECT_EQ(second, nullptr);
  AbortRegister::AR().Abort();
  EXPECT_EQ(firstCalls, 1);
}
