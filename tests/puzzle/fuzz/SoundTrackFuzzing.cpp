#include "SoundTrackFuzzing.h"

#include "platform/MusicPlayer.h"
#include "puzzle/SoundTrack.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

SoundTrackFuzzing::Totals totals;
qint64 boundMicros = 100000;
bool abortBeyond = false;
// Pauses and resumes while the audio thread takes the music's first moments (the mixer asks
// for 23 ms at a time), where a dense file does its damage.
constexpr int Rounds = 12;
constexpr int Attempts = 3;

// The slowest call of the current play, and which.
qint64 slowestMicros = 0;
const char* slowestCall = "";

void Timed(const char* call, const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  const qint64 micros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
  if (micros > slowestMicros) slowestMicros = micros, slowestCall = call;
  if (micros > totals.longestMicros) {
    totals.longestMicros = micros;
    totals.longestCall = QLatin1String(call);
  }
}

std::unique_ptr<MusicPlayer> MakePlayer(const QByteArray& bytes, bool midi, QTemporaryFile& file) {
  QString error;
  if (!midi) return MusicPlayer::FromWave(bytes, &error);
  if (!file.open() || file.write(bytes) != bytes.size() || !file.flush()) return nullptr;
  file.close();
  return MusicPlayer::FromMidiFile(file.fileName(), &error);
}

void Listen() {
  QCoreApplication::processEvents();
  QThread::msleep(4);
}

// Played, paused and resumed while the audio thread takes the first moments, stopped, freed.
bool PlayOnce(const QByteArray& bytes, bool midi) {
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/fuzzXXXXXX.mid"));
  std::unique_ptr<MusicPlayer> player = MakePlayer(bytes, midi, file);
  QString error;
  bool played = false;
  if (player) Timed("play", [&] { played = player->Play([] {}, &error); });
  if (played) {
    for (int round = 0; round < Rounds; ++round) {
      Listen();
      Timed("pause", [&] { player->Stop(); });
      Timed("resume", [&] { player->Play([] {}, &error); });
    }
    Listen();
    Timed("stop", [&] { player->Stop(); });
  }
  Timed("halt and free", [&] { player.reset(); });
  QCoreApplication::processEvents();
  return played;
}

}  // namespace

void SoundTrackFuzzing::Prepare(qint64 boundMs, bool abort) {
  boundMicros = boundMs * 1000;
  abortBeyond = abort;
}

bool SoundTrackFuzzing::Run(const QByteArray& bytes) {
  ++totals.inputs;
  const bool midi = bytes.startsWith("MThd");
  if (!SoundTrack::RefusalOf(bytes, midi).isEmpty()) return false;
  ++totals.accepted;
  // A play that blocks too long is played again: on a busy machine the audio thread may simply
  // have been waiting for a core. Music that blocks the game blocks it every time.
  for (int attempt = 1;; ++attempt) {
    slowestMicros = 0;
    const bool played = PlayOnce(bytes, midi);
    if (!abortBeyond || slowestMicros <= boundMicros) {
      totals.played += played;
      return played;
    }
    std::fprintf(stderr, "sound_track: %s blocked the main thread for %lld ms, more than %lld ms\n", slowestCall,
                 slowestMicros / 1000, boundMicros / 1000);
    if (attempt == Attempts) std::abort();
    ++totals.replayed;
  }
}

const SoundTrackFuzzing::Totals& SoundTrackFuzzing::Tally() { return totals; }

QString SoundTrackFuzzing::Describe() {
  return QStringLiteral("reach: inputs %1, accepted %2, played %3, longest call %4 ms (%5), played again %6")
      .arg(totals.inputs)
      .arg(totals.accepted)
      .arg(totals.played)
      .arg(double(totals.longestMicros) / 1000, 0, 'f', 1)
      .arg(totals.longestCall)
      .arg(totals.replayed);
}
