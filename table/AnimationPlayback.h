#pragma once
// The table surface's playback: an animated puzzle's projector on the surface, and the music
// tracks of animated puzzles, still puzzles and saved games.

#include "table/TablePlayback.h"

#include <memory>

class ProjectorScreen;
class VideoProjector;

class AnimationPlayback : public StillPlayback {
public:
  explicit AnimationPlayback(ProjectorScreen& screen);
  ~AnimationPlayback() override;

  bool OpenAnimation(Puzzle& puzzle, LoadProgress* loading) override;
  bool HasClips(Puzzle& puzzle) override;
  bool StartProjector(Puzzle& puzzle, VirtualBuffer* picture, LoadProgress* loading) override;
  void LoadAnimationTracks(Puzzle& puzzle) override;

  bool HasProjector() const override { return projector != nullptr; }
  bool ProjectorStarted() const override;
  bool ProjectorPaused() const override;
  void PauseProjector() override;
  void PlayProjector() override;
  void ClearProjector() override;
  void DestroyProjector() override;
  std::pair<int, int> ProjectorCounters() const override;

  VideoProjector* Projector() const { return projector.get(); }

private:
  ProjectorScreen& screen;
  std::unique_ptr<VideoProjector> projector;
};
