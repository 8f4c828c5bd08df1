#pragma once
// Waiting for the audio device's notices in tests, and timing the calls that must not wait on it.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <functional>

namespace AudioWaits {

// Runs the main thread's events until done answers true or ms have passed. Generous by default:
// the audio thread and the event loop may crawl under a sanitizer on a busy machine.
inline bool WaitFor(const std::function<bool()>& done, int ms = 30000) {
  const QDeadlineTimer deadline(ms);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

inline qint64 MsTaken(const std::function<void()>& step) {
  QElapsedTimer timer;
  timer.start();
  step();
  return timer.elapsed();
}

}  // namespace AudioWaits
