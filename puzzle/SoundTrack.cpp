#include "SoundTrack.h"

#include "SoundTrackCheck.h"
#include "Yelk/SettableClock.h"
#include "Yelk/TMsgLog.h"
#include "platform/AudioDevice.h"
#include "platform/MusicPlayer.h"
#include "platform/SynthLog.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QTemporaryFile>

#include <stdexcept>

namespace {
SoundTrack* background = nullptr;
SettableClock steadyClock;

qint64 Now() { return steadyClock.Now(); }
}  // namespace

SoundTrack::SoundTrack(QIODevice& stream, const SoundTrackHeader& header) : header_(header) {
  // Checked before the allocation: the length comes from a file.
  if (stream.bytesAvailable() < qint64(header.length)) throw std::runtime_error("Sound track: the data ends early.");
  data_ = stream.read(header.length);
  if (data_.size() != qint64(header.length)) throw std::runtime_error("Sound track: the data ends early.");
  refusal_ = RefusalOf(data_, IsMidi());
  if (!refusal_.isEmpty()) return;
  if (IsMidi()) {
    midi_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/trackXXXXXX.mid"));
    if (!midi_->open()) throw std::runtime_error("Sound track: no temporary file.");
    if (midi_->write(data_) != data_.size() || !midi_->flush())
      throw std::runtime_error("Sound track: the temporary file can not be written.");
    midi_->close();
  }
  if (header.loop) background = this;
}

SoundTrack::~SoundTrack() {
  player_.reset();
  if (background == this) background = nullptr;
}

SoundTrack* SoundTrack::Current() { return background; }

QString SoundTrack::RefusalOf(const QByteArray& data, bool midi) {
  return SoundTrackCheck::Refusal(data, midi, AudioDevice::Format());
}

void SoundTrack::SetClock(std::function<qint64()> clock) { steadyClock.Set(std::move(clock)); }

bool SoundTrack::WriteData(QIODevice& stream) const { return stream.write(data_) == data_.size(); }

void SoundTrack::Play() {
  if (playing_ || !refusal_.isEmpty() || !Settings()->EnableBackgroundSound || Settings()->ShowWelcome) return;
  if (!player_ && !MakePlayer()) return;
  quickEnds_ = 0;
  Start();
}

bool SoundTrack::MakePlayer() {
  QString error;
  // The device may play another rate or channel count than it was asked for: what the mixer
  // converts a WAVE image to is known once it is open.
  if (!IsMidi() && AudioDevice::Open()) refusal_ = RefusalOf(data_, false);
  if (!refusal_.isEmpty()) {
    TMsgLog::Add(QStringLiteral("SoundTrack::Play - ") + refusal_);
    return false;
  }
  SynthLog::SetSink([](const QString& line) { TMsgLog::Add(line); });
  player_ = IsMidi() ? MusicPlayer::FromMidiFile(midi_->fileName(), &error) : MusicPlayer::FromWave(data_, &error);
  if (!player_) TMsgLog::Add(QStringLiteral("SoundTrack::Play - silent: ") + error);
  return player_ != nullptr;
}

// Once: the library is never asked to loop (see MusicPlayer).
void SoundTrack::Start() {
  QString error;
  if (!player_->Play([this] { Ended(); }, &error)) {
    TMsgLog::Add(QStringLiteral("SoundTrack::Play - ") + error);
    return;
  }
  startedMs_ = Now();
  playing_ = true;
  ++starts_;
}

void SoundTrack::Ended() {
  playing_ = false;
  if (!header_.loop) return;
  quickEnds_ = Now() - startedMs_ < QuickEndMs ? quickEnds_ + 1 : 0;
  if (quickEnds_ >= 2) {
    TMsgLog::Add(QStringLiteral("SoundTrack - the track ended as soon as it started, twice in a row; "
                                "it is not started again."));
    return;
  }
  Start();
}

void SoundTrack::Stop() {
  if (player_) player_->Stop();
  playing_ = false;
}
