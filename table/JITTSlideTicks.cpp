#include "table/JITTSlideTicks.h"

#include "table/JITTManager.h"

namespace {
void StepCurrentManager() {
  if (JITTManager* manager = JITTManager::Global()) manager->SlideStep();
}
}  // namespace

JITTSlideTicks::JITTSlideTicks()
    : stepper(&StepCurrentManager), framer(std::make_unique<Framer>()) {
  framer->SetHandler([this] { stepper.Resume(); });
}

void JITTSlideTicks::SetActive(bool on) {
  if (framer) framer->SetActive(on);
}

bool JITTSlideTicks::IsActive() const { return framer && framer->IsActive(); }

void JITTSlideTicks::Stop() {
  framer.reset();
  stepper.Stop();
}
