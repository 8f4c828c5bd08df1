#include "table/JITTSlideTicks.h"

#include "table/JITTManager.h"

void JITTSlideTicks::StepCurrentManager() {
  if (JITTManager* manager = JITTManager::Global()) manager->SlideStep();
}

void JITTSlideTicks::SetActive(bool on) {
  if (!on) {
    framer.reset();
    return;
  }
  if (framer) return;
  framer = std::make_unique<Framer>([this] { stepper.Resume(); });
  framer->SetActive(true);
}

bool JITTSlideTicks::IsActive() const { return framer && framer->IsActive(); }

void JITTSlideTicks::Stop() {
  framer.reset();
  stepper.Stop();
}
