#pragma once
// The thread that moves the tip bar: each wake-up runs one slide step on the main thread and
// sleeps again. The shared frame timer wakes it while the bar slides.

#include "platform/WorkerThread.h"

#include <functional>

class Stepper : public WorkerThread {
public:
  explicit Stepper(std::function<void()> step) : step(std::move(step)) {}
  // Waits for the thread; a step it has queued for the main thread runs meanwhile.
  ~Stepper() override { Stop(); }

protected:
  void Execute() override;

private:
  std::function<void()> step;
};
