#include "table/VideoProjector.h"

#include "Yelk/TMsgLog.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/AnimatedFileReader.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"
#include "table/Framer.h"

#include <chrono>
#include <thread>

ProjectorScreen::~ProjectorScreen() = default;

VideoProjector::VideoProjector(bool ownTimer) : ownTimer(ownTimer) {}

// The thread may wait in a synchronised step: with everything forgotten first, that step
// returns at once while the main thread waits here running it.
VideoProjector::~VideoProjector() {
  bevel = nullptr;
  picture = nullptr;
  screen = nullptr;
  clips.clear();
  Stop();
}

bool VideoProjector::Setup(AnimatedFileReader* file, VirtualBuffer* picture, LoadProgress* loading,
                           ProjectorScreen* screen, BevelFilter* bevel) {
  // Nothing to step while the clips are gathered: opening may let the event loop run.
  this->picture = nullptr;
  this->screen = nullptr;
  clips.clear();
  changed.Clear();
  const int count = file ? file->ClipCount() : 0;
  if (count > 0) {
    if (!file->Open(loading)) return false;
    // At most count clips, stopping at the first the file cannot give.
    for (VideoClip* clip = file->GetFirstClip(); clip; clip = file->GetNextClip()) {
      clips.push_back(clip);
      if (int(clips.size()) == count) break;
    }
    this->file = file;
  }
  for (VideoClip* clip : clips) clip->WaitUntilReady();
  this->picture = picture;
  this->bevel = bevel;
  this->screen = screen;
  return true;
}

void VideoProjector::Pause() {
  paused = true;
  resetStatistics = true;
  averageStepTime = -1;
  TMsgLog::Add(QStringLiteral("Projector - Pause"));
  if (!bevel) return;
  // The unshaded picture with the frames shown now: shading is redone from it.
  VirtualBuffer* unshaded = bevel->UnshadedCopy();
  if (unshaded && !unshaded->IsEmpty()) {
    snapshot = std::make_unique<VirtualBuffer>(*unshaded, 100);
    for (auto it = clips.rbegin(); it != clips.rend(); ++it)
      if (VideoFrame* frame = (*it)->CurrentFrame()) {
        const FrameTrailer trailer = frame->Trailer();
        snapshot->DrawBuffer(trailer.x, trailer.y, *frame, false);
      }
  }
  bevel->SetSnapshot(snapshot.get());
  ShadeWhole();
}

void VideoProjector::Play() {
  paused = false;
  TMsgLog::Add(QStringLiteral("Projector - Play"));
  if (bevel) {
    bevel->SetSnapshot(nullptr);
    if (snapshot) ShadeWhole();
  }
  snapshot.reset();
  bool expected = false;
  if (started.compare_exchange_strong(expected, true)) Resume();
}

void VideoProjector::Clear() {
  if (bevel) bevel->SetSnapshot(nullptr);
  bevel = nullptr;
  Pause();
  clips.clear();
  changed.Clear();
  file = nullptr;
  picture = nullptr;
  screen = nullptr;
  firstStep = true;
  snapshot.reset();
}

void VideoProjector::ShadeWhole() {
  VideoFrameRegions whole;
  whole.SetWholeFrame();
  bevel->Apply(whole);
}

void VideoProjector::Tick() {
  if (!paused && started) Resume();
}

// A tick that came during a step is kept by the thread's wake-up, so the next step runs at
// once; any number of ticks during one step make one step.
void VideoProjector::Execute() {
  std::unique_ptr<Framer> framer;
  if (ownTimer) {
    framer = std::make_unique<Framer>([this] { Tick(); });
    framer->SetActive(true);
  }
  while (!IsTerminated()) {
    const auto t0 = std::chrono::steady_clock::now();
    Synchronize([this] { Step(); });
    CountStep(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0).count());
    if (IsTerminated()) break;
    Suspend();
  }
}

void VideoProjector::CountStep(long long micros) {
  stepMicros += micros;
  ++countedSteps;
  if (resetStatistics.exchange(false)) {
    idleSteps = 0;
    stepMicros = 0;
    countedSteps = 0;
  } else if (countedSteps >= StatisticsPeriod) {
    averageStepTime = int(stepMicros / StatisticsPeriod / 1000);
    lastIdleSteps = idleSteps.exchange(0);
    stepMicros = 0;
    countedSteps = 0;
  }
}

bool VideoProjector::ClipsReady() const {
  for (auto it = clips.rbegin(); it != clips.rend(); ++it)
    if (!(*it)->IsReady()) return false;
  return true;
}

void VideoProjector::CopyFrame(const VirtualBuffer& frame, int x, int y) {
  picture->DrawBuffer(x, y, frame, false);
  VirtualBuffer* unshaded = bevel ? bevel->UnshadedCopy() : nullptr;
  if (unshaded && unshaded != picture) unshaded->DrawBuffer(x, y, frame, false);
  changed.Add(x, y, x + frame.width - 1, y + frame.height - 1);
}

void VideoProjector::Step() {
  // A step handed over before a pause comes too late to run.
  if (IsTerminated() || paused || !picture || !screen || clips.empty()) return;
  ++steps;
  changed.Clear();
  const bool ready = firstStep || ClipsReady();
  firstStep = false;
  if (ready) {
    for (auto it = clips.rbegin(); it != clips.rend(); ++it)
      if (VideoFrame* frame = (*it)->NextFrame()) {
        const FrameTrailer trailer = frame->Trailer();
        CopyFrame(*frame, trailer.x, trailer.y);
      }
  } else {
    std::this_thread::yield();
  }
  if (changed.Count() == 0 && !changed.IsWholeFrame()) {
    ++idleSteps;
    screen->ShowIdleStep();
    return;
  }
  if (bevel) bevel->Apply(changed);
  screen->ShowStep(changed);
}
