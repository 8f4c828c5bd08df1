#pragma once
// The playback of a loaded puzzle as the table surface drives it: the animated puzzle's
// projector, which presents the table itself while it plays, and the music tracks of the
// puzzle files. AnimationPlayback is the surface's own; StillPlayback plays no animation, so
// that every puzzle counts as a still picture, whose file's music plays as the background
// track.

#include "puzzle/JigsawFileReader.h"
#include "puzzle/Puzzle.h"
#include "puzzle/SoundTrack.h"

#include <utility>

class LoadProgress;
class Puzzle;
class VirtualBuffer;

class TablePlayback {
public:
  virtual ~TablePlayback();

  // Opens the animated puzzle's clips for playback (the first time its frames are decoded,
  // shown by the loading window, which may cancel); false when that fails.
  virtual bool OpenAnimation(Puzzle& puzzle, LoadProgress* loading) = 0;
  virtual bool HasClips(Puzzle& puzzle) = 0;
  // Pauses the projector there is or makes one for the puzzle, and starts it on the live
  // picture; false when it cannot start.
  virtual bool StartProjector(Puzzle& puzzle, VirtualBuffer* picture, LoadProgress* loading) = 0;
  // The animated puzzle's tracks, or a still puzzle's or saved game's track.
  virtual void LoadAnimationTracks(Puzzle& puzzle) = 0;
  virtual void LoadJigsawTrack(Puzzle& puzzle) = 0;

  virtual bool HasProjector() const = 0;
  virtual bool ProjectorStarted() const = 0;
  virtual bool ProjectorPaused() const = 0;
  virtual void PauseProjector() = 0;
  virtual void PlayProjector() = 0;
  // Drops the clips and the bevel the projector holds of the old puzzle.
  virtual void ClearProjector() = 0;
  virtual void DestroyProjector() = 0;
  // The projector's two performance counters.
  virtual std::pair<int, int> ProjectorCounters() const = 0;

  virtual bool HasTrackPlayer() const = 0;
  virtual void StopTrack() = 0;
  virtual void RestartTrack() = 0;
};

// No animation; the still puzzle's or saved game's track is the background track.
class StillPlayback : public TablePlayback {
public:
  bool OpenAnimation(Puzzle&, LoadProgress*) override { return true; }
  bool HasClips(Puzzle&) override { return false; }
  bool StartProjector(Puzzle&, VirtualBuffer*, LoadProgress*) override { return false; }
  void LoadAnimationTracks(Puzzle&) override {}
  void LoadJigsawTrack(Puzzle& puzzle) override {
    if (JigsawFileReader* file = puzzle.GetJigsawFile()) file->LoadSoundTrack();
  }
  bool HasProjector() const override { return false; }
  bool ProjectorStarted() const override { return false; }
  bool ProjectorPaused() const override { return false; }
  void PauseProjector() override {}
  void PlayProjector() override {}
  void ClearProjector() override {}
  void DestroyProjector() override {}
  std::pair<int, int> ProjectorCounters() const override { return {0, 0}; }
  bool HasTrackPlayer() const override { return SoundTrack::Current() != nullptr; }
  void StopTrack() override {
    if (SoundTrack* track = SoundTrack::Current()) track->Stop();
  }
  void RestartTrack() override {
    if (SoundTrack* track = SoundTrack::Current()) track->Play();
  }
};
