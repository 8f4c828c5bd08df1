#include "VideoClip.h"

#include "FrameLoader.h"
#include "VideoFrame.h"
#include "Yelk/TMsgLog.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <thread>

ClipHeader ClipHeader::Parse(const unsigned char* bytes) {
  ClipHeader header;
  header.nextClip = qFromLittleEndian<std::uint32_t>(bytes);
  header.frames = qFromLittleEndian<std::int16_t>(bytes + 4);
  header.width = qFromLittleEndian<std::int16_t>(bytes + 6);
  header.height = qFromLittleEndian<std::int16_t>(bytes + 8);
  header.unused = qFromLittleEndian<std::int16_t>(bytes + 10);
  return header;
}

void ClipHeader::Store(unsigned char* bytes) const {
  qToLittleEndian(nextClip, bytes);
  qToLittleEndian(frames, bytes + 4);
  qToLittleEndian(width, bytes + 6);
  qToLittleEndian(height, bytes + 8);
  qToLittleEndian(unused, bytes + 10);
}

namespace {
// The clip's records lie before its next clip (when one is named) and inside the file.
bool RecordsFit(const ClipHeader& header, std::int64_t dataStart, std::int64_t fileSize) {
  if (header.width < 1 || header.height < 1) return false;
  const std::int64_t end = dataStart + header.frames * VideoFrame::RecordSize(header.width, header.height);
  return end <= fileSize && (header.nextClip == 0 || end <= std::int64_t(header.nextClip));
}
}  // namespace

VideoClip::VideoClip(QIODevice& stream, const QString& framePath) : path(framePath) {
  unsigned char bytes[ClipHeader::Size];
  if (stream.read(reinterpret_cast<char*>(bytes), ClipHeader::Size) != ClipHeader::Size)
    throw std::runtime_error("the clip header is cut short");
  header = ClipHeader::Parse(bytes);
  const std::int64_t dataStart = stream.pos();
  frameCount = std::max<int>(header.frames, 0);
  if (frameCount > 0 && !RecordsFit(header, dataStart, stream.size())) {
    TMsgLog::Add(QStringLiteral("VideoClip - the %1 frames at %2 do not fit the frame file; the clip stays still")
                     .arg(frameCount)
                     .arg(dataStart));
    frameCount = 0;
  }
  const int buffers = std::min(MaxBuffers, frameCount);
  allHeld = buffers == frameCount;
  VideoFrame* chain = nullptr;
  for (int i = 0; i < buffers; ++i) {
    frames.push_back(std::make_unique<VideoFrame>(header.width, header.height));
    frames.back()->next = chain;
    chain = frames.back().get();
  }
  if (buffers > 0)
    loader = std::make_unique<FrameLoader>(path, chain, frameCount, dataStart, frames[0]->recordSize);
  if (header.nextClip != 0) stream.seek(header.nextClip);
}

// The loader goes first: its thread may hold a frame.
VideoClip::~VideoClip() { loader.reset(); }

VideoFrame* VideoClip::NextFrame() {
  if (frameCount == 0 || !loader) return nullptr;
  if (current && holdCounter > 0) {
    --holdCounter;
    return nullptr;
  }
  VideoFrame* frame = allHeld ? NextHeldFrame() : NextStreamedFrame();
  CheckPlaces();
  return frame;
}

VideoFrame* VideoClip::NextHeldFrame() {
  if (!cycling) {
    if (current) {
      VideoFrame** end = &shown;
      while (*end) end = &(*end)->next;
      *end = current;
      current = nullptr;
    }
    if (!loader->HoldsNothing()) {
      ready = loader->Swap(ready, nullptr);
      return TakeHead();
    }
    // Everything is loaded: from now on the frames circulate in memory.
    cycling = true;
    VideoFrame** end = &ready;
    while (*end) end = &(*end)->next;
    *end = shown;
    shown = nullptr;
    readyTail = nullptr;
    for (VideoFrame* frame = ready; frame; frame = frame->next) readyTail = frame;
  }
  if (current) {
    if (readyTail) readyTail->next = current;
    else ready = current;
    readyTail = current;
    current = nullptr;
  }
  return TakeHead();
}

VideoFrame* VideoClip::NextStreamedFrame() {
  // The frame just shown goes back to be refilled; it is no longer current.
  VideoFrame* returned = current;
  current = nullptr;
  ready = loader->Swap(ready, returned);
  VideoFrame* frame = TakeHead();
  static bool logged = false;
  if (!frame && !logged) {
    logged = true;
    TMsgLog::Add(QStringLiteral("No frame present.  Clip: %1")
                     .arg(quintptr(this) & 0xFFFFFFFFu, 8, 16, QLatin1Char('0'))
                     .toUpper());
  }
  return frame;
}

VideoFrame* VideoClip::TakeHead() {
  current = ready;
  if (!current) return nullptr;
  ready = current->next;
  if (!ready) readyTail = nullptr;
  current->next = nullptr;
  holdCounter = std::max<int>(current->Trailer().hold, 0);
  return current;
}

bool VideoClip::IsReady() const {
  if (frameCount == 0 || ready) return true;
  if (!loader) return false;
  if (loader->HasLoaded()) return true;
  if (allHeld && loader->HoldsNothing()) return true;
  return loader->HasStopped();
}

void VideoClip::WaitUntilReady(std::chrono::milliseconds poll) {
  if (frameCount == 0) return;
  if (!loader) {
    TMsgLog::Add(QStringLiteral("VideoClip::WaitUntilReady - Missing frame loader"));
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!loader->IsReady()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      TMsgLog::Add(QStringLiteral("VideoClip::WaitUntilReady - the frames of %1 are still not loaded").arg(path));
      return;
    }
    std::this_thread::sleep_for(poll);
  }
}

bool VideoClip::FramesInOnePlace() const {
  std::vector<const VideoFrame*> seen;
  for (const VideoFrame* chain : {ready, shown})
    for (const VideoFrame* frame = chain; frame && seen.size() < 4096; frame = frame->next) seen.push_back(frame);
  if (current) seen.push_back(current);
  if (loader) loader->CollectHeld(seen);
  if (seen.size() != frames.size()) return false;
  for (const auto& frame : frames)
    if (std::count(seen.begin(), seen.end(), frame.get()) != 1) return false;
  return true;
}

void VideoClip::CheckPlaces() const {
#ifndef NDEBUG
  assert(FramesInOnePlace());
#endif
}
