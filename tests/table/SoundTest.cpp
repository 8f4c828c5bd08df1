// Sounds through SDL's dummy driver, which plays in real time: one device shared by all sounds,
// finished notices on the main thread only for sounds that still exist, bad images refused, and
// silence with a single log line where there is no device at all.

#include "TestEnvironment.h"
#include "Yelk/TMsgLog.h"
#include "platform/AudioChunk.h"
#include "table/Sound.h"
#include "table/SoundEffect.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>

namespace {
constexpr int WaitMs = 5000;
constexpr char NoDeviceChildVar[] = "TV_SOUND_NO_DEVICE_CHILD";

void AppendLe(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(char((value >> (8 * i)) & 0xFF));
}

// A silent 16-bit mono WAVE image at 22050 Hz, the format of the game's own effects.
QByteArray Wave(int frames) {
  QByteArray out("RIFF");
  AppendLe(out, quint32(36 + 2 * frames), 4);
  out.append("WAVEfmt ");
  AppendLe(out, 16, 4);
  AppendLe(out, 1, 2);  // PCM
  AppendLe(out, 1, 2);  // mono
  AppendLe(out, 22050, 4);
  AppendLe(out, 44100, 4);
  AppendLe(out, 2, 2);
  AppendLe(out, 16, 2);
  out.append("data");
  AppendLe(out, quint32(2 * frames), 4);
  out.append(QByteArray(2 * frames, '\0'));
  return out;
}

using Handler = void (*)(int);

Handler SignalHandler(int signal) {
  struct sigaction action {};
  sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

class SoundTest : public ::testing::Test {
protected:
  void SetUp() override { TMsgLog::Clear(); }
  // Every test deletes its sounds, and the last one closes the device.
  void TearDown() override { EXPECT_FALSE(Sound::IsInstalled()); }

  // Plays a short sound and waits for its notice: any notice queued before it has been
  // delivered by then.
  void DrainNotices() {
    Sound marker(Wave(64), &owner);
    bool done = false;
    marker.OnDone = [&] { done = true; };
    ASSERT_TRUE(marker.Play());
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, WaitMs));
  }

  QObject owner;
};
}  // namespace

// Opening the device must not take SIGINT and SIGTERM from the game: SDL would turn them into
// events nobody reads, and the game would outlive the end of the session.
TEST_F(SoundTest, EffectsShareOneDeviceThatClosesWithTheLastAndOpensAgain) {
  const auto interrupt = SignalHandler(SIGINT);
  const auto terminate = SignalHandler(SIGTERM);
  auto* join = new SoundEffect(8000, &owner);
  auto* turn = new SoundEffect(8001, &owner);
  ASSERT_TRUE(Sound::IsInstalled());
  EXPECT_EQ(SignalHandler(SIGINT), interrupt);
  EXPECT_EQ(SignalHandler(SIGTERM), terminate);
  delete join;
  EXPECT_TRUE(Sound::IsInstalled());
  bool done = false;
  turn->OnDone = [&] { done = true; };
  ASSERT_TRUE(turn->Play());
  EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, WaitMs));
  delete turn;
  EXPECT_FALSE(Sound::IsInstalled());

  SoundEffect again(8000, &owner);
  EXPECT_TRUE(Sound::IsInstalled());
  EXPECT_TRUE(again.Play());
  EXPECT_EQ(TMsgLog::Lines(), QStringList());
}

// The applause's pattern: the handler runs on the main thread, later than Play, and frees the
// sound that called it.
TEST_F(SoundTest, OnDoneArrivesOnTheMainThreadAndMayDeleteItsSound) {
  auto* applause = new SoundEffect(8000, &owner);
  int calls = 0;
  bool onMainThread = false;
  applause->OnDone = [&] {
    ++calls;
    onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    delete applause;
  };
  ASSERT_TRUE(applause->Play());
  EXPECT_EQ(calls, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, WaitMs));
  EXPECT_TRUE(onMainThread);
  DrainNotices();
  EXPECT_EQ(calls, 1);
}

TEST_F(SoundTest, MissingResourceLogsFindResFailureAndStaysSilent) {
  SoundEffect missing(7999, &owner);
  EXPECT_FALSE(missing.Play());
  const QStringList log = TMsgLog::Lines();
  ASSERT_EQ(log.size(), 1) << log.join('\n').toStdString();
  EXPECT_TRUE(log[0].contains("Sound Effect: FindRes failure: ")) << log[0].toStdString();
}

TEST_F(SoundTest, SoundGoneBeforeItsNoticeIsNeverCalledBack) {
  Sound keepsDeviceOpen(Wave(64), &owner);
  int calls = 0;
  auto* sound = new Sound(Wave(22050), &owner);
  sound->OnDone = [&] { ++calls; };
  ASSERT_TRUE(sound->Play());
  delete sound;  // mid-play
  DrainNotices();
  EXPECT_EQ(calls, 0);

  // The harder case: the mixer has already queued the notice when the sound goes.
  const QByteArray image = Wave(64);
  auto chunk = AudioChunk::FromWave(image.constData(), std::size_t(image.size()), nullptr);
  ASSERT_TRUE(chunk);
  ASSERT_TRUE(chunk->Play([&] { ++calls; }, nullptr));
  const QDeadlineTimer deadline(WaitMs);
  while (chunk->IsPlaying() && !deadline.hasExpired()) QThread::yieldCurrentThread();
  ASSERT_FALSE(chunk->IsPlaying());
  chunk.reset();
  DrainNotices();
  EXPECT_EQ(calls, 0);
}

TEST_F(SoundTest, CorruptOrTruncatedImagesAreRefusedWithOneLogLine) {
  const QByteArray good = Wave(256);
  QByteArray hugeFormat = good;  // fmt chunk size running far past the end
  hugeFormat[16] = char(0xF0);
  hugeFormat[17] = char(0xFF);
  hugeFormat[18] = char(0xFF);
  QByteArray noChannels = good;
  noChannels[22] = 0;
  const QList<QPair<const char*, QByteArray>> images = {
      {"empty", QByteArray()},
      {"RIFF only", good.left(4)},
      {"cut inside the format", good.left(30)},
      {"cut before the data", good.left(36)},
      {"format past the end", hugeFormat},
      {"no channels", noChannels},
      {"not a WAVE image", QByteArray(64, 'x')},
  };
  for (const auto& [name, image] : images) {
    TMsgLog::Clear();
    Sound sound(image, &owner);
    EXPECT_FALSE(sound.Play()) << name;
    const QStringList log = TMsgLog::Lines();
    ASSERT_EQ(log.size(), 1) << name << ": " << log.join('\n').toStdString();
    EXPECT_TRUE(log[0].contains("Failed to create sound effect: ")) << log[0].toStdString();
  }
}

// Run in a child process: SDL takes the driver's name when its audio starts, and a device that
// failed to open is not tried again.
TEST_F(SoundTest, NoDeviceMeansSilenceAndOneLogLine) {
  if (qEnvironmentVariableIsSet(NoDeviceChildVar)) {
    SoundEffect join(8000, &owner);
    SoundEffect turn(8001, &owner);
    Sound fromMemory(Wave(64), &owner);
    EXPECT_FALSE(Sound::IsInstalled());
    EXPECT_FALSE(join.Play());
    EXPECT_FALSE(turn.Play());
    EXPECT_FALSE(fromMemory.Play());
    const QStringList log = TMsgLog::Lines();
    ASSERT_EQ(log.size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(log[0].contains("Sound Effect:  Failed to install.")) << log[0].toStdString();
    return;
  }
  // SDL without such a driver; SDL whose driver starts but cannot open its device.
  const QString unwritable = TestEnvironment::ScratchFolder() + "/no-such-folder/out.raw";
  const QList<QStringList> settings = {{"nosuchdriver"}, {"disk", unwritable}};
  for (const QStringList& setting : settings) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(NoDeviceChildVar, "1");
    env.insert("SDL_AUDIODRIVER", setting[0]);
    if (setting.size() > 1) env.insert("SDL_DISKAUDIOFILE", setting[1]);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=SoundTest.NoDeviceMeansSilenceAndOneLogLine"});
    ASSERT_TRUE(child.waitForFinished(60000)) << setting[0].toStdString();
    const std::string output = QString::fromLocal8Bit(child.readAll()).toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
  }
}
