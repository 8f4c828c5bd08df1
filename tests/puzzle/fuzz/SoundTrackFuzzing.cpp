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

void Timed(const char* call, const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  const qint64 micros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
  if (micros > totals.longestMicros) {
    totals.longestMicros = micros;
    totals.longestCall = QLatin1String(call);
  }
  if (abortBeyond && micros > boundMicros) {
    std::fprintf(stderr, "sound_track: %s blocked the main thread for %lld ms, more than %lld ms\n", call,
                 micros / 1000, boundMicros / 1000);
    std::abort();
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
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/fuzzXXXXXX.mid"));
  std::unique_ptr<MusicPlayer> player = MakePlayer(bytes, midi, file);
  QString error;
  bool played = false;
  if (player) Timed("play", [&] { played = player->Play([] {}, &error); });
  if (played) {
    ++totals.played;
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

const SoundTrackFuzzing::Totals& SoundTrackFuzzing::Tally() { return totals; }

QString SoundTrackFuzzing::Describe() {
  return QStringLiteral("reach: inputs %1, accepted %2, played %3, longest call %4 ms (%5)")
      .arg(totals.inputs)
      .arg(totals.accepted)
      .arg(totals.played)
      .arg(double(totals.longestMicros) / 1000, 0, 'f', 1)
      .arg(totals.longestCall);
}
