#include "table/AnimationPlayback.h"

#include "puzzle/AnimatedFileReader.h"
#include "table/VideoProjector.h"

AnimationPlayback::AnimationPlayback(ProjectorScreen& screen) : screen(screen) {}

AnimationPlayback::~AnimationPlayback() = default;

bool AnimationPlayback::OpenAnimation(Puzzle& puzzle, LoadProgress* loading) {
  AnimatedFileReader* file = puzzle.GetAnimatedFile();
  if (!file || file->ClipCount() <= 0) return true;
  return file->Open(loading);
}

bool AnimationPlayback::HasClips(Puzzle& puzzle) {
  AnimatedFileReader* file = puzzle.GetAnimatedFile();
  return file && file->ClipCount() > 0;
}

bool AnimationPlayback::StartProjector(Puzzle& puzzle, VirtualBuffer* picture, LoadProgress* loading) {
  if (projector)
    projector->Pause();
  else
    projector = std::make_unique<VideoProjector>();
  if (!projector->Setup(puzzle.GetAnimatedFile(), picture, loading, &screen, puzzle.GetBevel())) return false;
  projector->Play();
  return true;
}

void AnimationPlayback::LoadAnimationTracks(Puzzle& puzzle) {
  if (AnimatedFileReader* file = puzzle.GetAnimatedFile()) file->LoadTracks();
}

bool AnimationPlayback::ProjectorStarted() const { return projector && projector->WasStarted(); }

bool AnimationPlayback::ProjectorPaused() const { return projector && projector->IsPaused(); }

void AnimationPlayback::PauseProjector() {
  if (projector) projector->Pause();
}

void AnimationPlayback::PlayProjector() {
  if (projector) projector->Play();
}

void AnimationPlayback::ClearProjector() {
  if (projector) projector->Clear();
}

void AnimationPlayback::DestroyProjector() { projector.reset(); }

std::pair<int, int> AnimationPlayback::ProjectorCounters() const {
  if (!projector) return {-1, 0};
  return {projector->AverageStepTime(), projector->IdleSteps()};
}
