#include "SoundTrack.h"

#include "Yelk/TMsgLog.h"
#include "platform/MusicPlayer.h"
#include "settings/ProgSettings.h"

#include <QDir>
#include <QTemporaryFile>

#include <stdexcept>

namespace {

SoundTrack* background = nullptr;
constexpr qint64 ChunkSize = 65536;

// Exactly length bytes from source to target; a short source is a damaged file.
void CopyExactly(QIODevice& source, QIODevice& target, qint64 length) {
  QByteArray chunk;
  for (qint64 left = length; left > 0;) {
    chunk = source.read(std::min(left, ChunkSize));
    if (chunk.isEmpty()) throw std::runtime_error("Sound track: the data ends early.");
    if (target.write(chunk) != chunk.size()) throw std::runtime_error("Sound track: the data can not be stored.");
    left -= chunk.size();
  }
}

}  // namespace

SoundTrack::SoundTrack(QIODevice& stream, const SoundTrackHeader& header) : header_(header) {
  if (IsMidi()) {
    midi_ = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/trackXXXXXX.mid"));
    if (!midi_->open()) throw std::runtime_error("Sound track: no temporary file.");
    CopyExactly(stream, *midi_, header.length);
    if (!midi_->flush()) throw std::runtime_error("Sound track: the temporary file can not be written.");
    midi_->close();
  } else {
    // Checked before the allocation: the length comes from a file.
    if (stream.bytesAvailable() < qint64(header.length)) throw std::runtime_error("Sound track: the data ends early.");
    wave_ = stream.read(header.length);
    if (wave_.size() != qint64(header.length)) throw std::runtime_error("Sound track: the data ends early.");
  }
  if (header.loop) background = this;
}

SoundTrack::~SoundTrack() {
  player_.reset();
  if (background == this) background = nullptr;
}

SoundTrack* SoundTrack::Current() { return background; }

bool SoundTrack::WriteData(QIODevice& stream) const {
  if (!IsMidi()) return stream.write(wave_) == wave_.size();
  QFile data(midi_->fileName());
  if (!data.open(QIODevice::ReadOnly)) return false;
  try {
    CopyExactly(data, stream, header_.length);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void SoundTrack::Play() {
  if (playing_ || !Settings()->EnableBackgroundSound || Settings()->ShowWelcome) return;
  if (!player_ && !MakePlayer()) return;
  QString error;
  if (!player_->Play(header_.loop != 0, &error)) {
    TMsgLog::Add(QStringLiteral("SoundTrack::Play - ") + error);
    return;
  }
  playing_ = true;
}

bool SoundTrack::MakePlayer() {
  QString error;
  player_ = IsMidi() ? MusicPlayer::FromMidiFile(midi_->fileName(), &error) : MusicPlayer::FromWave(wave_, &error);
  if (!player_) TMsgLog::Add(QStringLiteral("SoundTrack::Play - silent: ") + error);
  return player_ != nullptr;
}

void SoundTrack::Stop() {
  if (player_) player_->Stop();
  playing_ = false;
}
