#include "table/Stepper.h"

void Stepper::Execute() {
  while (!IsTerminated()) {
    Synchronize(step);
    Suspend();
  }
}
