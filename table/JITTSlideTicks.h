#pragma once
// The tip bar's beat in the running program: a client of the shared 67 ms frame timer whose
// handler only wakes the Stepper, which runs the current manager's slide step.

#include "table/Framer.h"
#include "table/JITTServices.h"
#include "table/Stepper.h"

#include <memory>

class JITTSlideTicks : public JITTTicks {
public:
  JITTSlideTicks();
  ~JITTSlideTicks() override { Stop(); }

  void SetActive(bool on) override;
  bool IsActive() const override;
  // The timer's client goes first, so nothing wakes the thread while it ends.
  void Stop() override;

private:
  Stepper stepper;
  std::unique_ptr<Framer> framer;
};
