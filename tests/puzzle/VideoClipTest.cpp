#include "FrameFileWriter.h"
#include "PuzzleFixtures.h"
#include "TestEnvironment.h"

#include "puzzle/FrameLoader.h"
#include "puzzle/VideoClip.h"
#include "puzzle/VideoFrame.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using PuzzleFixtures::ScratchPath;
using namespace std::chrono_literals;

namespace {

// The clips of a frame file, read one after the other from one stream as the reader does.
struct OpenClips {
  OpenClips(const FrameFileWriter& writer, const QString& name, int count) : stream(ScratchPath(name)) {
    writer.Write(stream.fileName());
    stream.open(QIODevice::ReadOnly);
    stream.seek(120);
    for (int i = 0; i < count; ++i) clips.push_back(std::make_unique<VideoClip>(stream, stream.fileName()));
  }
  QFile stream;
  std::vector<std::unique_ptr<VideoClip>> clips;
};

// Waits as the projector does until every clip may step; false after 5 s.
bool WaitUntilAllReady(const std::vector<std::unique_ptr<VideoClip>>& clips) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  for (;;) {
    if (std::all_of(clips.begin(), clips.end(), [](const auto& clip) { return clip->IsReady(); })) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
}

// Runs body on a thread of its own and fails the test when it has not ended within 20 s.
void WithinTimeLimit(const std::function<void()>& body) {
  auto run = std::async(std::launch::async, body);
  ASSERT_EQ(run.wait_for(20s), std::future_status::ready) << "a clip hung";
  run.get();
}

// The tag the clip shows at a step: each frame for hold + 1 steps, wrapping after the last.
int ExpectedTag(int step, int frames, int hold) { return step / (hold + 1) % frames + 1; }

}  // namespace

// For every frame count (held whole or streamed) and hold: each step shows the expected frame,
// a new frame exactly when the last one's hold ran out, with its own record's pixels; every
// buffer is in one place after each step; clips of up to 16 frames read each record once.
TEST(VideoClipTest, FramesCycleInOrderWithTheirHolds) {
  for (int frames : {1, 2, 15, 16, 17, 40})
    for (int hold : {0, 3}) {
      SCOPED_TRACE(testing::Message() << frames << " frames, hold " << hold);
      FrameFileWriter writer;
      writer.AddClip(6, 4, frames, hold);
      writer.AddClip(3, 3, 2);
      WithinTimeLimit([&] {
        OpenClips open(writer, "cycle.frames", 1);
        VideoClip& clip = *open.clips[0];
        EXPECT_EQ(open.stream.pos(), writer.ClipOffsets()[1]);
        EXPECT_EQ(clip.BufferCount(), std::min(frames, 16));
        clip.WaitUntilReady(1ms);
        const int steps = 3 * frames * (hold + 1);
        for (int step = 0; step < steps; ++step) {
          ASSERT_TRUE(WaitUntilAllReady(open.clips)) << step;
          VideoFrame* shown = clip.NextFrame();
          EXPECT_EQ(shown != nullptr, step % (hold + 1) == 0) << step;
          ASSERT_NE(clip.CurrentFrame(), nullptr) << step;
          const int tag = clip.CurrentFrame()->Trailer().tag;
          ASSERT_EQ(tag, ExpectedTag(step, frames, hold)) << step;
          EXPECT_EQ(clip.CurrentFrame()->Row(3)[5], std::uint32_t(tag));
          EXPECT_TRUE(clip.FramesInOnePlace()) << step;
        }
        if (frames <= 16) {
          EXPECT_EQ(clip.Loader()->RecordsRead(), frames);
        }
      });
    }
}

// Clips without frames or with one never hold up the others, and a clip whose records do not
// fit before its next clip gets no frames: the others still step in order.
TEST(VideoClipTest, EmptyAndSingleFrameClipsNeverStall) {
  FrameFileWriter writer;
  writer.AddClip(4, 4, 0);
  writer.AddClip(4, 4, 1);
  writer.AddClip(4, 4, 17);
  writer.AddClip(4, 4, 1, 2);
  QByteArray bytes = writer.Bytes();
  // A fifth clip claims 5 frames but names its successor after 3 records.
  ClipHeader cramped{std::uint32_t(bytes.size() + 12 + 3 * VideoFrame::RecordSize(4, 4)), 5, 4, 4, 0};
  unsigned char header[ClipHeader::Size];
  cramped.Store(header);
  bytes.append(reinterpret_cast<const char*>(header), ClipHeader::Size);
  bytes.append(QByteArray(5 * VideoFrame::RecordSize(4, 4), '\1'));
  const QString path = ScratchPath("stall.frames");
  ASSERT_TRUE(TestEnvironment::WriteFile(path, bytes));
  WithinTimeLimit([&] {
    QFile stream(path);
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    stream.seek(120);
    std::vector<std::unique_ptr<VideoClip>> clips;
    for (int i = 0; i < 5; ++i) clips.push_back(std::make_unique<VideoClip>(stream, path));
    EXPECT_EQ(clips[4]->FrameCount(), 0);
    for (const auto& clip : clips) clip->WaitUntilReady(1ms);
    for (int step = 0; step < 60; ++step) {
      ASSERT_TRUE(WaitUntilAllReady(clips)) << step;
      EXPECT_EQ(clips[0]->NextFrame(), nullptr);
      EXPECT_NE(clips[1]->NextFrame(), nullptr) << step;
      ASSERT_NE(clips[2]->NextFrame(), nullptr) << step;
      EXPECT_EQ(clips[2]->CurrentFrame()->Trailer().tag, ExpectedTag(step, 17, 0)) << step;
      EXPECT_EQ(clips[3]->NextFrame() != nullptr, step % 3 == 0) << step;
      EXPECT_EQ(clips[4]->NextFrame(), nullptr);
    }
  });
}

// A frame file cut short under a streaming clip: the loader stops at the first record it
// cannot read whole, the clip shows the frames it got and then stays, and nothing waits for
// ever or reads past the clip.
TEST(VideoClipTest, TruncatedFrameFileStopsTheLoader) {
  FrameFileWriter writer;
  writer.AddClip(8, 8, 30);
  const QString path = ScratchPath("cut.frames");
  ASSERT_TRUE(writer.Write(path));
  WithinTimeLimit([&] {
    QFile stream(path);
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    stream.seek(120);
    VideoClip clip(stream, path);
    // Cut inside record 20, possibly before the loader got there.
    QFile::resize(path, 120 + 12 + 19 * VideoFrame::RecordSize(8, 8) + 100);
    clip.WaitUntilReady(1ms);
    int shown = 0;
    for (int step = 0; step < 60; ++step) {
      const auto deadline = std::chrono::steady_clock::now() + 5s;
      while (!clip.IsReady()) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << step;
        std::this_thread::sleep_for(1ms);
      }
      if (VideoFrame* frame = clip.NextFrame()) {
        EXPECT_EQ(frame->Trailer().tag, ++shown) << step;
      }
      EXPECT_TRUE(clip.FramesInOnePlace());
    }
    EXPECT_TRUE(clip.Loader()->HasStopped());
    EXPECT_EQ(shown, 19);
    EXPECT_LE(clip.Loader()->RecordsRead(), 20);
  });
}
