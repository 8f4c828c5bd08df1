#pragma once
// The tip bar's beat in the running program: a client of the shared 67 ms frame timer whose
// handler only wakes the Stepper, which runs the current manager's slide step. The client
// exists only while the bar slides, so a bar at rest keeps no timer thread running.

#include "table/Framer.h"
#include "table/JITTServices.h"
#include "table/Stepper.h"

#include <memory>

class JITTSlideTicks : public JITTTicks {
public:
  JITTSlideTicks() : stepper(&StepCurrentManager) {}
  ~JITTSlideTicks() override { Stop(); }

  void SetActive(bool on) override;
  bool IsActive() const override;
  // The timer's client goes first, so nothing wakes the thread while it ends.
  void Stop() override;

private:
  static void StepCurrentManager();

  Stepper stepper;
  std::unique_ptr<Framer> framer;
};
