#pragma once

#include <QtGlobal>

#include <functional>

// Milliseconds of a steady clock that a test may replace, so that timings can be scripted
// instead of waited for.
class SettableClock {
public:
  qint64 Now() const;
  void Set(std::function<qint64()> clock) { test_ = std::move(clock); }

private:
  std::function<qint64()> test_;
};
