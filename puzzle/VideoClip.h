#pragma once
// One video clip of an animated puzzle: up to 16 frame buffers and the loader thread that
// fills them from the frame file. A clip of at most 16 frames is read once and then cycles
// in memory; a longer one streams its frames through the 16 buffers. NextFrame runs on the
// main thread, once per projector step.
//
// Each frame is always in exactly one place: the loader's hands or queues, the ready list,
// the shown list or current. Debug builds check that after every step.

#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

class FrameLoader;
class QIODevice;
class VideoFrame;

// The 12 bytes in front of each clip's frames.
struct ClipHeader {
  static constexpr int Size = 12;
  std::uint32_t nextClip = 0;  // offset of the next clip header; 0: none given
  std::int16_t frames = 0;
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::int16_t unused = 0;

  static ClipHeader Parse(const unsigned char* bytes);
  void Store(unsigned char* bytes) const;
};

class VideoClip {
public:
  static constexpr int MaxBuffers = 16;

  // Reads the clip header at the frame file stream's position and starts the loader on
  // path; leaves the stream at the next clip header. A header that cannot be read whole
  // throws std::runtime_error. A clip whose records do not fit before its next clip and
  // within the file is logged and gets no frames.
  VideoClip(QIODevice& stream, const QString& path);
  ~VideoClip();
  VideoClip(const VideoClip&) = delete;
  VideoClip& operator=(const VideoClip&) = delete;

  const ClipHeader& Header() const { return header; }
  int FrameCount() const { return frameCount; }
  int BufferCount() const { return int(frames.size()); }

  // The frame to draw in this step, or null when the one shown stays.
  VideoFrame* NextFrame();
  // The frame on the picture now, or null.
  VideoFrame* CurrentFrame() const { return current; }
  // The next step can proceed: a frame is ready, or the clip waits for nothing (no frames,
  // all held and shown, a loader that stopped).
  bool IsReady() const;
  // Returns once the loader has filled every buffer or stopped; gives up after 10 s with a
  // log line.
  void WaitUntilReady(std::chrono::milliseconds poll = std::chrono::milliseconds(200));

  // Every frame buffer is in exactly one place.
  bool FramesInOnePlace() const;
  const FrameLoader* Loader() const { return loader.get(); }

private:
  VideoFrame* TakeHead();
  VideoFrame* NextHeldFrame();
  VideoFrame* NextStreamedFrame();
  void CheckPlaces() const;

  ClipHeader header;
  int frameCount = 0;
  std::vector<std::unique_ptr<VideoFrame>> frames;
  std::unique_ptr<FrameLoader> loader;
  QString path;
  VideoFrame* ready = nullptr;
  VideoFrame* readyTail = nullptr;
  VideoFrame* shown = nullptr;
  VideoFrame* current = nullptr;
  bool allHeld = false;
  bool cycling = false;
  int holdCounter = 0;
  bool loggedMissing = false;
};
