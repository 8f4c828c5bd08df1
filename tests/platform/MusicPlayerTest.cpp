// The music player on the dummy audio device: a play is played once, its end comes on the main
// thread and only when it ended by itself, damaged MIDI data handed straight to the library
// never holds up a pause or a halt, and the synthesiser's messages never flood stderr.

#include "AudioWaits.h"
#include "platform/MusicPlayer.h"
#include "platform/SynthLog.h"
#include "tests/puzzle/DamagedMusic.h"

#include <QDir>
#include <QTemporaryFile>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <unistd.h>

using AudioWaits::MsTaken;
using AudioWaits::WaitFor;

namespace {

// A mono 8-bit WAVE image of samples at 8000 Hz.
QByteArray Wave(int samples) {
  QByteArray wave("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1F\0\0\x40\x1F\0\0\x01\0\x08\0data", 40);
  char length[4];
  qToLittleEndian(std::uint32_t(samples), length);
  wave.append(length, 4).append(QByteArray(samples, '\x90'));
  qToLittleEndian(std::uint32_t(wave.size() - 8), wave.data() + 4);
  return wave;
}

struct MidiFile {
  explicit MidiFile(const QByteArray& bytes) : file(QDir::tempPath() + QStringLiteral("/playerXXXXXX.mid")) {
    if (file.open()) file.write(bytes), file.close();
  }
  QTemporaryFile file;
};

// Counts the ends a play reports and notes the thread they came on.
struct Ends {
  std::function<void()> Handler() {
    return [this] {
      ++count;
      onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    };
  }
  int count = 0;
  bool onMainThread = true;
};

// Lets the audio thread run while the main thread hears nothing, as when the game is busy.
bool EndsUnheard(const MusicPlayer& player) {
  const QDeadlineTimer deadline(30000);
  while (player.IsPlaying() && !deadline.hasExpired()) QThread::msleep(5);
  return !player.IsPlaying();
}

}  // namespace

// MIDI and WAVE alike: the play ends by itself once, reports it on the main thread, and is not
// started again by the library.
TEST(MusicPlayerTest, PlaysOnceAndReportsTheEndOnTheMainThread) {
  MidiFile midi(DamagedMusic::OneNote());
  QString error;
  std::unique_ptr<MusicPlayer> players[] = {MusicPlayer::FromWave(Wave(2400), &error),
                                            MusicPlayer::FromMidiFile(midi.file.fileName(), &error)};
  for (auto& player : players) {
    ASSERT_TRUE(player) << qPrintable(error);
    Ends ends;
    ASSERT_TRUE(player->Play(ends.Handler(), &error)) << qPrintable(error);
    EXPECT_TRUE(player->IsPlaying());
    ASSERT_TRUE(WaitFor([&] { return ends.count > 0; })) << player->IsMidi();
    EXPECT_TRUE(ends.onMainThread);
    EXPECT_FALSE(player->IsPlaying()) << player->IsMidi();
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(ends.count, 1) << player->IsMidi();
  }
}

// A stopped play reports no end, neither does a deleted one; a paused MIDI play resumes, and
// one that was taken off the stream by another player starts afresh.
TEST(MusicPlayerTest, StoppedOrDeletedPlaysReportNoEnd) {
  MidiFile midi(DamagedMusic::OneNote());
  QString error;
  auto first = MusicPlayer::FromMidiFile(midi.file.fileName(), &error);
  auto second = MusicPlayer::FromMidiFile(midi.file.fileName(), &error);
  auto wave = MusicPlayer::FromWave(Wave(800), &error);
  ASSERT_TRUE(first && second && wave) << qPrintable(error);
  Ends ends;
  ASSERT_TRUE(first->Play(ends.Handler(), &error));
  first->Stop();
  EXPECT_FALSE(first->IsPlaying());
  ASSERT_TRUE(first->Play(ends.Handler(), &error));
  EXPECT_TRUE(first->IsPlaying());
  ASSERT_TRUE(second->Play(ends.Handler(), &error));
  EXPECT_FALSE(first->IsPlaying());
  EXPECT_TRUE(second->IsPlaying());
  second.reset();
  ASSERT_TRUE(wave->Play(ends.Handler(), &error));
  wave->Stop();
  WaitFor([] { return false; }, 500);
  EXPECT_EQ(ends.count, 0);
  ASSERT_TRUE(first->Play(ends.Handler(), &error));
  EXPECT_TRUE(first->IsPlaying());
  EXPECT_TRUE(WaitFor([&] { return ends.count == 1; }));
}

// Each damaged file, played once, fails inside the library without holding the mixer: the
// pause and the halt after it return at once.
TEST(MusicPlayerTest, DamagedMidiPlayedOnceNeverHoldsThePause) {
  for (const DamagedMusic::Track& track : DamagedMusic::DamagedMidi()) {
    MidiFile midi(track.bytes);
    QString error;
    auto player = MusicPlayer::FromMidiFile(midi.file.fileName(), &error);
    if (!player) continue;  // refused at load: never played
    Ends ends;
    ASSERT_TRUE(player->Play(ends.Handler(), &error)) << track.name;
    WaitFor([&] { return ends.count > 0; }, 300);
    EXPECT_LT(MsTaken([&] { player->Stop(); }), 1000) << track.name;
    EXPECT_LT(MsTaken([&] { player->Play(ends.Handler(), &error); }), 1000) << track.name;
    EXPECT_LT(MsTaken([&] { player.reset(); }), 1000) << track.name;
  }
}

// An end heard late is not taken for the play that holds the stream by then, and a paused play
// that had already ended starts afresh instead of resuming nothing.
TEST(MusicPlayerTest, AnEndHeardLateIsNotTakenForTheNextPlay) {
  MidiFile quickFile(DamagedMusic::FailsInTheLibrary()), tuneFile(DamagedMusic::OneNote());
  QString error;
  auto quick = MusicPlayer::FromMidiFile(quickFile.file.fileName(), &error);
  auto tune = MusicPlayer::FromMidiFile(tuneFile.file.fileName(), &error);
  ASSERT_TRUE(quick && tune) << qPrintable(error);
  Ends quickEnds, tuneEnds;
  ASSERT_TRUE(quick->Play(quickEnds.Handler(), &error));
  ASSERT_TRUE(EndsUnheard(*quick));
  ASSERT_TRUE(tune->Play(tuneEnds.Handler(), &error));
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(quickEnds.count, 0);
  EXPECT_EQ(tuneEnds.count, 0);
  EXPECT_TRUE(tune->IsPlaying());

  ASSERT_TRUE(EndsUnheard(*tune));
  tune->Stop();
  ASSERT_TRUE(tune->Play(tuneEnds.Handler(), &error));
  EXPECT_TRUE(tune->IsPlaying());
  EXPECT_TRUE(WaitFor([&] { return tuneEnds.count == 1; }));
}

namespace {
std::mutex heardMutex;
QStringList heard;
}  // namespace

// A synthesiser given more notes at once than it has voices warns about each of them from the
// audio thread, inside the mixer's lock, gigabytes a minute to stderr when left to itself:
// only the first few lines are passed on, then a count, and nothing reaches stderr.
TEST(MusicPlayerTest, SynthesiserMessagesAreCountedNotPrinted) {
  QByteArray notes;
  for (int i = 0; i < 2048; ++i) notes += DamagedMusic::Bytes({0, 0x90 | (i % 16), (i / 16) % 128, 100});
  MidiFile midi(DamagedMusic::Header(0, 1, 96) + DamagedMusic::Chunk("MTrk", notes + DamagedMusic::EndOfTrack()));
  SynthLog::Report();
  SynthLog::SetSink([](const QString& line) {
    std::lock_guard lock(heardMutex);
    heard << line;
  });
  QTemporaryFile captured;
  ASSERT_TRUE(captured.open());
  std::fflush(stderr);
  const int stderrCopy = dup(2);
  dup2(captured.handle(), 2);
  QString error;
  auto player = MusicPlayer::FromMidiFile(midi.file.fileName(), &error);
  const bool played = player && player->Play([] {}, &error);
  const bool flooded = WaitFor([] { return SynthLog::Heard() > 1000; });
  player.reset();
  std::fflush(stderr);
  dup2(stderrCopy, 2);
  close(stderrCopy);
  SynthLog::SetSink(nullptr);
  ASSERT_TRUE(played) << qPrintable(error);
  EXPECT_TRUE(flooded);
  EXPECT_EQ(captured.size(), 0);
  std::lock_guard lock(heardMutex);
  ASSERT_EQ(heard.size(), SynthLog::LinesShown + 1) << qPrintable(heard.join(u'\n'));
  EXPECT_TRUE(heard.last().contains(QLatin1String("more messages were not shown"))) << qPrintable(heard.last());
}
