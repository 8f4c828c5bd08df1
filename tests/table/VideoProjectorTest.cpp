// The projector over real clips of a frame file written here, with a screen that records the
// steps: steps follow ticks and pauses, frames land clipped where their trailers say, the
// picture always equals the shading of its unshaded copy, and projectors end cleanly while
// their threads wait on the main thread.

#include "BlankAnimatedReader.h"
#include "TestEnvironment.h"
#include "imaging/VirtualBuffer.h"
#include "platform/MainThreadCalls.h"
#include "puzzle/AnimatedFileReader.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/PictureSizeSource.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"
#include "table/Framer.h"
#include "table/VideoProjector.h"

#include <QFile>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

using std::chrono::milliseconds;

struct ClipSpec {
  int width, height, frames, hold, x, y;  // frame f lies at (x + f, y - f)
};

std::uint32_t PixelOf(int clip, int frame, int fx, int fy) {
  return std::uint32_t(clip + 1) << 20 | std::uint32_t(frame) << 12 | (std::uint32_t(fy * 37 + fx) & 0xFFF);
}

// A frame file as the reader leaves it: per clip its header and raw records, rows stored as
// a buffer stores them (the bottom row first), each frame's number from 1 as its tag.
QByteArray FrameFile(const std::vector<ClipSpec>& clips) {
  QByteArray bytes(120, 'P');
  for (int c = 0; c < int(clips.size()); ++c) {
    const ClipSpec& s = clips[c];
    const qint64 end = bytes.size() + ClipHeader::Size + s.frames * VideoFrame::RecordSize(s.width, s.height);
    unsigned char raw[ClipHeader::Size];
    ClipHeader{std::uint32_t(end), std::int16_t(s.frames), std::int16_t(s.width), std::int16_t(s.height), 0}.Store(raw);
    bytes.append(reinterpret_cast<const char*>(raw), ClipHeader::Size);
    for (int f = 1; f <= s.frames; ++f) {
      for (int row = 0; row < s.height; ++row)
        for (int fx = 0; fx < s.width; ++fx) {
          const std::uint32_t pixel = PixelOf(c, f, fx, s.height - 1 - row);
          bytes.append(reinterpret_cast<const char*>(&pixel), 4);
        }
      unsigned char trailer[FrameTrailer::Size];
      FrameTrailer{std::int16_t(s.x + f), std::int16_t(s.y - f), std::int16_t(s.hold), std::uint16_t(f), 0}.Store(trailer);
      bytes.append(reinterpret_cast<const char*>(trailer), FrameTrailer::Size);
    }
  }
  return bytes;
}

// An animated file whose clips come from a frame file; nothing else of it is asked for.
class FrameFileReader : public BlankAnimatedReader {
public:
  FrameFileReader(const std::vector<ClipSpec>& specs, const QString& name)
      : path(TestEnvironment::ScratchFolder() + "/" + name), count(int(specs.size())) {
    EXPECT_TRUE(TestEnvironment::WriteFile(path, FrameFile(specs)));
  }
  ~FrameFileReader() override { Close(); }

  bool Open(LoadProgress*) override {
    if (!clips.empty()) return true;
    stream.setFileName(path);
    if (!stream.open(QIODevice::ReadOnly) || !stream.seek(120)) return false;
    for (int i = 0; i < count; ++i) clips.push_back(std::make_unique<VideoClip>(stream, path));
    return true;
  }
  void Close() override {
    clips.clear();
    stream.close();
  }
  int ClipCount() const override { return count; }
  VideoClip* GetFirstClip() override {
    next = 0;
    return GetNextClip();
  }
  VideoClip* GetNextClip() override { return next < int(clips.size()) ? clips[next++].get() : nullptr; }

  std::vector<std::unique_ptr<VideoClip>> clips;

private:
  QString path;
  QFile stream;
  int count;
  int next = 0;
};

class RecordingScreen : public ProjectorScreen {
public:
  void ShowStep(VideoFrameRegions& changed) override {
    ++shown;
    regions += changed.Count();
    if (during) std::exchange(during, nullptr)();
    if (after) after();
  }
  void ShowIdleStep() override {
    ++idle;
    if (during) std::exchange(during, nullptr)();
    if (after) after();
  }
  int Steps() const { return shown + idle; }
  int shown = 0, idle = 0, regions = 0;
  std::function<void()> during;  // once, inside the next step
  std::function<void()> after;   // inside every step
};

class PictureSize : public PictureSizeSource {
public:
  explicit PictureSize(QSize size) : size(size) { SetCurrent(this); }
  QSize GetImageSize() override { return size; }
  QSize size;
};

// Runs calls handed to the main thread until done() or the time is up.
bool RunUntil(const std::function<bool()>& done, milliseconds limit = milliseconds(5000)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  MainThreadCalls::WaitWhile([&] { return !done() && std::chrono::steady_clock::now() < end; },
                             milliseconds(2));
  return done();
}

void RunFor(milliseconds time) {
  RunUntil([] { return false; }, time);
}

TEST(VideoProjectorTest, StepsFollowTicksPausesAndTheFirstPlay) {
  PictureSize size({64, 48});
  FrameFileReader reader({{8, 6, 3, 1, 4, 20}}, "ticks.frames");
  VirtualBuffer picture(64, 48, "Picture");
  RecordingScreen screen;
  VideoProjector projector(false);
  ASSERT_TRUE(projector.Setup(&reader, &picture, nullptr, &screen, nullptr));
  ASSERT_EQ(1, projector.ClipCount());

  EXPECT_FALSE(projector.WasStarted());
  projector.Play();  // starts the thread, whose first step needs no tick
  ASSERT_TRUE(RunUntil([&] { return screen.Steps() == 1; }));
  projector.Play();  // starts nothing again
  RunFor(milliseconds(120));
  EXPECT_EQ(1, screen.Steps());

  for (int tick = 1; tick <= 3; ++tick) {
    projector.Tick();
    ASSERT_TRUE(RunUntil([&] { return screen.Steps() == 1 + tick; }));
    RunFor(milliseconds(30));
    EXPECT_EQ(1 + tick, screen.Steps()) << "one step per tick";
  }
  // Ticks during a step make one more step at once, then it waits again.
  screen.during = [&] {
    for (int i = 0; i < 3; ++i) projector.Tick();
  };
  projector.Tick();
  ASSERT_TRUE(RunUntil([&] { return screen.Steps() == 6; }));
  RunFor(milliseconds(120));
  EXPECT_EQ(6, screen.Steps());

  projector.Pause();
  for (int i = 0; i < 3; ++i) projector.Tick();
  RunFor(milliseconds(120));
  EXPECT_EQ(6, screen.Steps()) << "paused";
  EXPECT_EQ(-1, projector.AverageStepTime());

  // A frame held for one further step: every other step changes nothing. After the reset
  // step, 16 steps give the period's average and idle count.
  projector.Play();
  for (int step = 7; step <= 7 + VideoProjector::StatisticsPeriod; ++step) {
    projector.Tick();
    ASSERT_TRUE(RunUntil([&] { return screen.Steps() == step; }));
  }
  ASSERT_TRUE(RunUntil([&] { return projector.AverageStepTime() >= 0; }));
  EXPECT_EQ(VideoProjector::StatisticsPeriod / 2, projector.IdleSteps());
  EXPECT_EQ(screen.shown, screen.idle + 1);
}

TEST(VideoProjectorTest, FramesLandClippedAndThePictureIsItsCopyShaded) {
  const int w = 64, h = 48;
  PictureSize size({w, h});
  // Inside, over the left and top edges, over the right and bottom edges, a frameless and a
  // one-frame clip, a streaming one, one held.
  const std::vector<ClipSpec> specs = {{10, 8, 5, 0, 20, 20},  {12, 9, 3, 0, -6, 4},  {9, 7, 4, 0, 58, 44},
                                       {5, 5, 0, 0, 2, 2},     {6, 4, 1, 0, 40, 8},   {7, 5, 20, 0, 2, 30},
                                       {4, 4, 3, 2, 30, 40}};
  FrameFileReader reader(specs, "clipped.frames");
  std::mt19937 random(7);
  VirtualBuffer picture(w, h, "Picture");
  for (int i = 0; i < w * h; ++i) picture.memory[i] = random() & 0xFFFFFF;
  std::vector<std::uint32_t> unshaded(picture.memory, picture.memory + w * h);
  BevelFilter bevel(&picture, true, h, w);
  std::vector<std::int8_t> map(std::size_t(w) * h);
  for (auto& value : map) value = std::int8_t(int(random() % 41) - 20);
  for (int y = 0; y < h; ++y) std::copy_n(map.data() + y * w, w, bevel.MapRow(y));
  VideoFrameRegions whole;
  whole.SetWholeFrame();
  bevel.Apply(whole);

  RecordingScreen screen;
  VideoProjector projector(false);
  ASSERT_TRUE(projector.Setup(&reader, &picture, nullptr, &screen, &bevel));
  ASSERT_EQ(int(specs.size()), projector.ClipCount());

  // The model: the first picture under every frame shown so far, clipped, the first clip's
  // on top (frames move, so earlier ones stay where later ones do not reach); the projector's
  // picture must be that, shaded by a filter of the same values.
  std::vector<std::uint32_t> model = unshaded;
  auto check = [&](const char* when) {
    for (int c = int(specs.size()) - 1; c >= 0; --c) {
      const VideoFrame* frame = reader.clips[c]->CurrentFrame();
      if (!frame) continue;
      const int f = frame->Trailer().tag, x0 = specs[c].x + f, y0 = specs[c].y - f;
      for (int fy = 0; fy < specs[c].height; ++fy)
        for (int fx = 0; fx < specs[c].width; ++fx)
          if (x0 + fx >= 0 && x0 + fx < w && y0 + fy >= 0 && y0 + fy < h)
            model[(h - 1 - (y0 + fy)) * w + x0 + fx] = PixelOf(c, f, fx, fy);
    }
    const VirtualBuffer* copy = bevel.UnshadedCopy();
    ASSERT_TRUE(copy);
    for (int i = 0; i < w * h; ++i)
      ASSERT_EQ(model[i], copy->memory[i]) << when << " at x " << i % w << " y " << h - 1 - i / w;
    VirtualBuffer reference(w, h, "Reference");
    std::copy(model.begin(), model.end(), reference.memory);
    {
      BevelFilter shading(&reference, true, h, w);
      for (int y = 0; y < h; ++y) std::copy_n(map.data() + y * w, w, shading.MapRow(y));
      shading.Apply(whole);
    }
    BevelFilter::SetCurrent(&bevel);
    ASSERT_TRUE(std::equal(reference.memory, reference.memory + w * h, picture.memory)) << when;
  };
  projector.Play();
  auto ready = [&] {
    for (auto& clip : reader.clips)
      if (!clip->IsReady()) return false;
    return true;
  };
  for (int step = 1; step <= 45; ++step) {
    // A loader that lags makes a step wait; here every step finds its frames.
    ASSERT_TRUE(RunUntil(ready)) << "step " << step;
    if (step > 1) projector.Tick();
    ASSERT_TRUE(RunUntil([&] { return screen.Steps() == step; })) << "step " << step;
    check("step");
    if (step % 10 == 0) {
      projector.Pause();
      check("paused");
      projector.Play();
      check("played");
    }
  }
  EXPECT_EQ(45, screen.shown);  // some clip changes in every step
}

TEST(VideoProjectorTest, ProjectorsEndWhilePlayingAndTheTimerFollowsTheFramers) {
  PictureSize size({64, 48});
  FrameFileReader reader({{8, 6, 20, 0, 4, 4}, {8, 6, 2, 0, 30, 30}}, "many.frames");
  VirtualBuffer picture(64, 48, "Picture");
  RecordingScreen screen;
  std::mt19937 random(50);
  std::vector<std::unique_ptr<VideoProjector>> alive;
  for (int made = 0; made < 50; ++made) {
    auto projector = std::make_unique<VideoProjector>();
    ASSERT_TRUE(projector->Setup(&reader, &picture, nullptr, &screen, nullptr));
    projector->Play();
    alive.push_back(std::move(projector));
    RunFor(milliseconds(random() % 40));
    // Destroyed in any order, often while its thread waits for its step to run here.
    if (alive.size() > 4) alive.erase(alive.begin() + random() % alive.size());
    if (random() % 3 == 0) alive.front()->Pause();
  }
  EXPECT_TRUE(Framer::TimerRunning());
  alive.clear();
  EXPECT_EQ(0, Framer::Count());
  EXPECT_FALSE(Framer::TimerRunning());
  EXPECT_EQ(0, MainThreadCalls::RunPending());
  EXPECT_GT(screen.Steps(), 50);

  // A new framer starts the timer again; an inactive one is not called.
  std::atomic<int> ticks{0}, silent{0};
  {
    Framer framer([&] { ++ticks; });
    Framer idle([&] { ++silent; });
    framer.SetActive(true);
    EXPECT_TRUE(Framer::TimerRunning());
    RunUntil([&] { return ticks >= 3; }, milliseconds(2000));
  }
  EXPECT_GE(ticks.load(), 3);
  EXPECT_EQ(0, silent.load());
  EXPECT_FALSE(Framer::TimerRunning());
}

}  // namespace
