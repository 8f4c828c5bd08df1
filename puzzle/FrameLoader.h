#pragma once
// The thread that fills one clip's frame buffers from the frame file. Empty buffers wait in
// the empty queue, filled ones in the loaded queue until the clip swaps them out; the frame
// being read is in the loader's hands and counts as held. The read runs outside the lock on
// a frame no other thread can reach. Records are found by multiplication from the clip's
// data start, so a failed read never drifts into the next clip: it stops the loader (logged
// once), and the clip plays what it holds.

#include "platform/ManualEvent.h"
#include "platform/WorkerThread.h"

#include <QFile>
#include <QString>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

class VideoFrame;

class FrameLoader : public WorkerThread {
public:
  // Starts reading records 0, 1, ... frameCount − 1 (then 0 again) of recordSize bytes from
  // dataStart into the chain of empty frames.
  FrameLoader(const QString& path, VideoFrame* emptyChain, int frameCount, std::int64_t dataStart,
              std::int64_t recordSize);
  ~FrameLoader() override;

  // Puts the returned chain in front of the empty queue and appends the loaded queue to the
  // ready list; the new ready list.
  VideoFrame* Swap(VideoFrame* ready, VideoFrame* returned);
  // Every buffer is loaded (or the loader stopped).
  bool IsReady() const;
  // Nothing loaded waits and nothing more will be: both queues and the hands are empty, or
  // the loader stopped with only empty frames left.
  bool HoldsNothing() const;
  // Loaded frames wait; when none do but empty ones wait, the loader is woken.
  bool HasLoaded();
  bool HasStopped() const { return stopped; }
  // Records read so far (whole or not).
  int RecordsRead() const { return reads; }
  // Appends every frame the loader holds (queues, hands, frames that left circulation).
  void CollectHeld(std::vector<const VideoFrame*>& into) const;

protected:
  void Execute() override;

private:
  VideoFrame* TakeEmpty();
  bool ReadRecord(VideoFrame& frame);
  void StopAfterFailure(VideoFrame* frame);

  QFile file;
  const std::int64_t dataStart;
  const std::int64_t recordSize;
  const int frameCount;
  int nextIndex = 0;

  mutable std::mutex lock;
  VideoFrame* empty = nullptr;
  VideoFrame* loadedHead = nullptr;
  VideoFrame* loadedTail = nullptr;
  VideoFrame* inHand = nullptr;
  VideoFrame* parked = nullptr;  // out of circulation after a failed read

  ManualEvent emptyPresent{true};
  std::atomic<bool> stopped{false};
  std::atomic<int> reads{0};
};
