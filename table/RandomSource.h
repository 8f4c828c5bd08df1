#pragma once
// Where the table's random choices come from (which piece goes where at a new game's
// layout, and its turn). Tests put a fixed sequence in.

#include <chrono>
#include <random>

class RandomSource {
public:
  virtual ~RandomSource() = default;
  virtual void SeedFromClock() = 0;
  // A number from 0 up.
  virtual int Next() = 0;
};

class ClockRandom : public RandomSource {
public:
  void SeedFromClock() override {
    engine_.seed(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()));
  }
  int Next() override { return int(engine_() & 0x7FFFFFFF); }

private:
  std::mt19937 engine_;
};
