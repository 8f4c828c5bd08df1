#include "SettableClock.h"

#include <QElapsedTimer>

qint64 SettableClock::Now() const {
  if (test_) return test_();
  static QElapsedTimer steady;
  if (!steady.isValid()) steady.start();
  return steady.elapsed();
}
