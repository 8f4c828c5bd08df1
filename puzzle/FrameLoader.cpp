#include "FrameLoader.h"

#include "VideoFrame.h"
#include "Yelk/TMsgLog.h"

namespace {
constexpr int EmptyWaitMs = 250;

void Append(VideoFrame*& head, VideoFrame* chain) {
  VideoFrame** end = &head;
  while (*end) end = &(*end)->next;
  *end = chain;
}
}  // namespace

FrameLoader::FrameLoader(const QString& path, VideoFrame* emptyChain, int frames, std::int64_t start,
                         std::int64_t size)
    : file(path), dataStart(start), recordSize(size), frameCount(frames), empty(emptyChain) {
  // Unbuffered: each record is one read straight into the frame's memory.
  if (frameCount < 1 || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    TMsgLog::Add(QStringLiteral("FrameLoader - cannot read frames from ") + path);
    stopped = true;
    return;
  }
  Resume();
}

FrameLoader::~FrameLoader() {
  Terminate();
  emptyPresent.Set();
  Stop();
}

void FrameLoader::Execute() {
  while (!IsTerminated()) {
    VideoFrame* frame = TakeEmpty();
    if (!frame) {
      // The flag is looked at after the reset: a Set made with it is then not lost.
      if (!IsTerminated()) emptyPresent.WaitFor(EmptyWaitMs);
      continue;
    }
    if (!ReadRecord(*frame)) {
      StopAfterFailure(frame);
      return;
    }
    std::lock_guard guard(lock);
    if (loadedTail) loadedTail->next = frame;
    else loadedHead = frame;
    loadedTail = frame;
    inHand = nullptr;
  }
}

VideoFrame* FrameLoader::TakeEmpty() {
  std::lock_guard guard(lock);
  VideoFrame* frame = empty;
  if (!frame) {
    emptyPresent.Reset();
    return nullptr;
  }
  empty = frame->next;
  frame->next = nullptr;
  inHand = frame;
  return frame;
}

bool FrameLoader::ReadRecord(VideoFrame& frame) {
  ++reads;
  if (frame.recordSize != recordSize || !file.seek(dataStart + nextIndex * recordSize) || !frame.Read(file))
    return false;
  nextIndex = nextIndex + 1 == frameCount ? 0 : nextIndex + 1;
  return true;
}

void FrameLoader::StopAfterFailure(VideoFrame* frame) {
  TMsgLog::Add(QStringLiteral("FrameLoader - record %1 of %2 could not be read; the clip plays what it holds")
                   .arg(nextIndex)
                   .arg(file.fileName()));
  std::lock_guard guard(lock);
  frame->next = parked;
  parked = frame;
  inHand = nullptr;
  stopped = true;
}

VideoFrame* FrameLoader::Swap(VideoFrame* ready, VideoFrame* returned) {
  bool emptyWaits;
  {
    std::lock_guard guard(lock);
    if (returned) {
      Append(returned, empty);
      empty = returned;
    }
    Append(ready, loadedHead);
    loadedHead = loadedTail = nullptr;
    emptyWaits = empty != nullptr;
  }
  if (emptyWaits) emptyPresent.Set();
  return ready;
}

bool FrameLoader::IsReady() const {
  std::lock_guard guard(lock);
  return stopped || (!empty && !inHand);
}

bool FrameLoader::HoldsNothing() const {
  std::lock_guard guard(lock);
  return !loadedHead && !inHand && (!empty || stopped);
}

bool FrameLoader::HasLoaded() {
  bool emptyWaits;
  {
    std::lock_guard guard(lock);
    if (loadedHead) return true;
    emptyWaits = empty != nullptr;
  }
  if (emptyWaits) emptyPresent.Set();
  return false;
}

void FrameLoader::CollectHeld(std::vector<const VideoFrame*>& into) const {
  std::lock_guard guard(lock);
  for (const VideoFrame* chain : {empty, loadedHead, parked})
    for (const VideoFrame* frame = chain; frame && into.size() < 4096; frame = frame->next) into.push_back(frame);
  if (inHand) into.push_back(inHand);
}
