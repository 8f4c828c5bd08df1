// Saved games whose music is damaged: the track is refused before it plays, with a box, and
// its bytes go on into later saves; a track that fails only inside the audio library stops
// being repeated and never holds up a pause or the closing of the puzzle; a sound track is
// started again when it ends.

#include "DamagedMusic.h"
#include "JigsawFileBuilder.h"
#include "PuzzleFixtures.h"

#include "Yelk/Prompt.h"
#include "Yelk/TMsgLog.h"
#include "puzzle/JigsawFile.h"
#include "puzzle/Puzzle.h"
#include "puzzle/PuzzleFileStatus.h"
#include "puzzle/SoundTrack.h"
#include "puzzle/TessavinelumeFile.h"
#include "settings/ProgSettings.h"
#include "tests/platform/AudioWaits.h"
#include "QvpWriter.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using AudioWaits::MsTaken;
using AudioWaits::WaitFor;
using PuzzleFixtures::ScratchPath;

namespace {

QByteArray Track(JigsawFileReader& file) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  return file.CopySoundTrack(buffer) ? buffer.data() : QByteArray("copy failed");
}

bool LogHas(const QString& text) {
  for (const QString& line : TMsgLog::Lines())
    if (line.contains(text)) return true;
  return false;
}

class SoundOn {
public:
  SoundOn() : welcome_(std::exchange(Settings()->ShowWelcome, false)), sound_(std::exchange(Settings()->EnableBackgroundSound, true)) {}
  ~SoundOn() {
    Settings()->ShowWelcome = welcome_;
    Settings()->EnableBackgroundSound = sound_;
  }

private:
  bool welcome_, sound_;
};

}  // namespace

// Every damaged track is refused at load with the box, plays nothing, asks only once, and is
// written by the save as it was, so that nothing of the player's file is lost.
TEST(DamagedMusicTest, DamagedTrackShowsTheBoxPlaysNothingAndIsSavedAsItWas) {
  SoundOn sound;
  std::vector<DamagedMusic::Track> tracks = DamagedMusic::DamagedMidi();
  tracks.push_back({"wave-of-letters", QByteArray(40, 'w')});
  for (const DamagedMusic::Track& track : tracks) {
    const bool midi = track.bytes.startsWith("MT") || track.bytes.startsWith("MX");
    const QString path = ScratchPath(QStringLiteral("%1.saw").arg(QLatin1String(track.name)));
    JigsawFixtures::WriteAll(path, JigsawFixtures::GameWithTrack(track.bytes, midi ? 1 : 2));
    Prompt::Double prompts;
    Puzzle puzzle(path);
    JigsawFileReader* file = puzzle.GetJigsawFile();
    ASSERT_TRUE(file) << track.name;
    ASSERT_TRUE(puzzle.IsValid()) << track.name;
    file->LoadSoundTrack();
    file->LoadSoundTrack();
    ASSERT_EQ(prompts.Shown().size(), 1) << track.name;
    EXPECT_TRUE(prompts.Shown()[0].text.startsWith(
        midi ? QStringLiteral("Failed to load sound track.\n\nSound track: damaged MIDI data: ")
             : QStringLiteral("Failed to load sound track.\n\nSound track: damaged WAVE data: ")))
        << qPrintable(prompts.Shown()[0].text);
    EXPECT_EQ(prompts.Shown()[0].icon, Prompt::Stop);
    EXPECT_EQ(SoundTrack::Current(), nullptr) << track.name;
    SoundTrack* loaded = static_cast<JigsawFile*>(file)->GetSoundTrack();
    ASSERT_TRUE(loaded) << track.name;
    loaded->Play();
    EXPECT_FALSE(loaded->IsPlaying()) << track.name;
    EXPECT_EQ(loaded->Starts(), 0) << track.name;
    EXPECT_EQ(Track(*file), track.bytes) << track.name;

    const QString saved = ScratchPath(QStringLiteral("%1 again.saw").arg(QLatin1String(track.name)));
    ASSERT_TRUE(JigsawFile::SaveFile(saved, puzzle, SavedWindowState{})) << track.name;
    JigsawFile again(saved);
    ASSERT_EQ(again.Status(), pfsReady) << track.name;
    EXPECT_EQ(again.SoundKind(), midi ? 1 : 2) << track.name;
    EXPECT_EQ(Track(again), track.bytes) << track.name;
    EXPECT_EQ(prompts.Shown().size(), 1) << track.name;
  }
}

// A track the check takes but the synthesiser refuses as it plays: each play ends at once, the
// second in a row ends the loop with a line in the message log, and pausing, playing again and
// closing the puzzle each return within a second.
TEST(DamagedMusicTest, TrackThatFailsInTheLibraryStopsLoopingAndNeverHoldsThePuzzle) {
  SoundOn sound;
  Prompt::Double prompts;
  TMsgLog::Clear();
  const QString path = ScratchPath(QStringLiteral("fails in the library.saw"));
  JigsawFixtures::WriteAll(path, JigsawFixtures::GameWithTrack(DamagedMusic::FailsInTheLibrary(), 1));
  auto file = std::make_unique<JigsawFile>(path);
  ASSERT_EQ(file->Status(), pfsReady);
  file->LoadSoundTrack();
  EXPECT_TRUE(prompts.Shown().isEmpty());
  SoundTrack* track = SoundTrack::Current();
  ASSERT_TRUE(track);
  ASSERT_TRUE(track->IsPlaying()) << qPrintable(TMsgLog::GetLogAsString());
  ASSERT_TRUE(WaitFor([&] { return !track->IsPlaying(); }));
  EXPECT_EQ(track->Starts(), 2);
  EXPECT_TRUE(LogHas(QStringLiteral("SoundTrack - the track ended as soon as it started, twice in a row")));

  EXPECT_LT(MsTaken([&] { track->Play(); }), 1000);
  EXPECT_TRUE(track->IsPlaying());
  EXPECT_LT(MsTaken([&] { track->Stop(); }), 1000);
  EXPECT_LT(MsTaken([&] { track->Play(); }), 1000);
  // After the library has failed on it once more.
  WaitFor([&] { return track->Starts() > 4; }, 2000);
  EXPECT_LT(MsTaken([&] { track->Stop(); }), 1000);
  EXPECT_LT(MsTaken([&] { track->Play(); }), 1000);
  EXPECT_LT(MsTaken([&] { file.reset(); }), 1000);
  EXPECT_EQ(SoundTrack::Current(), nullptr);
  // The end of the halted play is heard by nobody.
  WaitFor([] { return false; }, 300);
}

// A looping track that plays to its end is started again, on the main thread's event loop,
// and goes on for as long as it is not stopped; a track without the loop flag is not.
TEST(DamagedMusicTest, SoundTrackStartsAgainWhenItEnds) {
  SoundOn sound;
  const QByteArray wave = JigsawFixtures::TinyWave(5600);  // 0.7 s, longer than a quick end
  for (const std::uint16_t loop : {1, 0}) {
    QBuffer source;
    source.setData(wave);
    source.open(QIODevice::ReadOnly);
    SoundTrackHeader header;
    header.loop = loop;
    header.length = std::uint32_t(wave.size());
    SoundTrack track(source, header);
    EXPECT_EQ(track.Refusal(), QString());
    track.Play();
    ASSERT_TRUE(track.IsPlaying());
    if (loop) {
      ASSERT_TRUE(WaitFor([&] { return track.Starts() == 3; }));
      EXPECT_TRUE(track.IsPlaying());
      track.Stop();
      WaitFor([] { return false; }, 300);
      EXPECT_EQ(track.Starts(), 3);
    } else {
      ASSERT_TRUE(WaitFor([&] { return !track.IsPlaying(); }));
      WaitFor([] { return false; }, 300);
      EXPECT_EQ(track.Starts(), 1);
    }
    EXPECT_FALSE(track.IsPlaying());
  }
}

// Only quick ends in a row stop the loop: a play of normal length between two quick ends
// clears the count. The clock says how long each play lasted.
TEST(DamagedMusicTest, OnlyQuickEndsInARowStopTheLoop) {
  SoundOn sound;
  const QByteArray wave = JigsawFixtures::TinyWave(80);
  const struct {
    const char* what;
    std::vector<qint64> plays;  // then plays of a second each
    int starts;
    bool looping;
  } cases[] = {{"quick, long, quick", {10, 2000, 10}, 4, true}, {"quick, quick", {10, 10}, 2, false}};
  for (const auto& c : cases) {
    TMsgLog::Clear();
    qint64 now = 0;
    std::size_t calls = 0;
    // Each play reads the clock when it starts and when it ends.
    SoundTrack::SetClock([&] {
      const std::size_t call = calls++;
      if (call % 2) now += call / 2 < c.plays.size() ? c.plays[call / 2] : 1000;
      return now;
    });
    struct RealClock {
      ~RealClock() { SoundTrack::SetClock({}); }
    } realClock;
    QBuffer source;
    source.setData(wave);
    source.open(QIODevice::ReadOnly);
    SoundTrackHeader header;
    header.loop = 1;
    header.length = std::uint32_t(wave.size());
    SoundTrack track(source, header);
    track.Play();
    ASSERT_TRUE(track.IsPlaying()) << c.what;
    ASSERT_TRUE(WaitFor([&] { return !track.IsPlaying() || (c.looping && track.Starts() >= c.starts); })) << c.what;
    EXPECT_EQ(track.IsPlaying(), c.looping) << c.what;
    EXPECT_EQ(LogHas(QStringLiteral("twice in a row")), !c.looping) << c.what;
    if (!c.looping) {
      EXPECT_EQ(track.Starts(), c.starts) << c.what;
    }
    track.Stop();
  }
}

// In an animated puzzle a damaged track is logged and left silent, and the table goes on: a
// sound looping track before it stays the background track and plays, one after it is read.
TEST(DamagedMusicTest, AnimatedPuzzleLeavesADamagedTrackSilentAndReadsOn) {
  SoundOn sound;
  Prompt::Double prompts;
  TMsgLog::Clear();
  const QByteArray damaged = DamagedMusic::DamagedMidi().front().bytes;
  QvpWriter writer(24, 16);
  writer.AddClip(8, 6, 2);
  writer.AddTrack(1, true, JigsawFixtures::TinyWave(16000));
  writer.AddTrack(2, true, damaged, true);
  writer.AddTrack(3, false, DamagedMusic::OneNote(), true);
  const QString path = ScratchPath(QStringLiteral("damaged track.qvp"));
  ASSERT_TRUE(writer.Write(path));
  TessavinelumeFile file(path);
  file.LoadTracks();
  ASSERT_EQ(file.LoadedTrackCount(), 3);
  EXPECT_EQ(file.Track(0)->Refusal(), QString());
  EXPECT_TRUE(file.Track(1)->Refusal().startsWith(QStringLiteral("Sound track: damaged MIDI data: ")));
  EXPECT_EQ(file.Track(2)->Refusal(), QString());
  EXPECT_TRUE(LogHas(QStringLiteral("QVP load tracks fail:  track 1: Sound track: damaged MIDI data: ")));
  EXPECT_EQ(SoundTrack::Current(), file.Track(0));
  EXPECT_TRUE(file.Track(0)->IsPlaying());
  EXPECT_EQ(file.Track(1)->Starts(), 0);
  EXPECT_TRUE(prompts.Shown().isEmpty());
}
