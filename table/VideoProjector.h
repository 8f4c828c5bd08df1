#pragma once
// Plays an animated puzzle. A thread paced by the shared 67 ms timer runs one step at a time
// on the main thread: every clip hands its next frame, the frames are copied into the picture
// and its unshaded copy, the bevel is shaded again inside the changed rectangles, and the
// screen (the table surface) redraws them. The table surface owns one per animated puzzle.

#include "platform/WorkerThread.h"
#include "puzzle/VideoFrameRegions.h"

#include <atomic>
#include <memory>
#include <vector>

class AnimatedFileReader;
class BevelFilter;
class LoadProgress;
class VideoClip;
class VirtualBuffer;

// Where a step's changes go.
class ProjectorScreen {
public:
  virtual ~ProjectorScreen();
  // The step changed these picture rectangles (shaded already): redraw and present them.
  virtual void ShowStep(VideoFrameRegions& changed) = 0;
  // The step changed nothing.
  virtual void ShowIdleStep() = 0;
};

class VideoProjector : public WorkerThread {
public:
  static constexpr int StatisticsPeriod = 16;

  // Without the timer the owner calls Tick itself (tests).
  explicit VideoProjector(bool ownTimer = true);
  ~VideoProjector() override;

  // Takes the file's clips (opening it for playback: false when that fails) and waits until
  // each has its first frames. The picture, bevel and screen are not owned.
  bool Setup(AnimatedFileReader* file, VirtualBuffer* picture, LoadProgress* loading,
             ProjectorScreen* screen, BevelFilter* bevel);
  // Pausing shades the whole picture from the frames shown now; ticks are ignored.
  void Pause();
  // The first call starts the thread.
  void Play();
  // Forgets the puzzle: clips, picture, bevel and screen; pauses.
  void Clear();

  bool IsPaused() const { return paused; }
  bool WasStarted() const { return started; }
  int ClipCount() const { return int(clips.size()); }
  VideoClip* Clip(int index) const { return clips[std::size_t(index)]; }
  // The average step time over the last 16 steps in ms (-1 while unknown), and the steps of
  // that period that changed nothing.
  int AverageStepTime() const { return averageStepTime; }
  int IdleSteps() const { return lastIdleSteps; }
  // Steps run so far (tests and benchmarks).
  int StepCount() const { return steps; }

  // The timer's handler (on the timer thread): wakes the thread unless paused.
  void Tick();
  // One step, on the main thread.
  void Step();

protected:
  void Execute() override;

private:
  bool ClipsReady() const;
  void CopyFrame(const VirtualBuffer& frame, int x, int y);
  void ShadeWhole();
  void CountStep(long long micros);

  const bool ownTimer;
  AnimatedFileReader* file = nullptr;
  VirtualBuffer* picture = nullptr;
  BevelFilter* bevel = nullptr;
  ProjectorScreen* screen = nullptr;
  std::vector<VideoClip*> clips;
  VideoFrameRegions changed;
  std::unique_ptr<VirtualBuffer> snapshot;
  bool firstStep = true;

  std::atomic<bool> paused{false};
  std::atomic<bool> started{false};
  std::atomic<bool> resetStatistics{true};
  std::atomic<int> averageStepTime{-1};
  std::atomic<int> lastIdleSteps{0};
  std::atomic<int> idleSteps{0};
  std::atomic<int> steps{0};
  // Thread only.
  long long stepMicros = 0;
  int countedSteps = 0;
};
