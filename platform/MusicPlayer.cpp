#include "MusicPlayer.h"

#include "AudioChunk.h"
#include "AudioDevice.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>

namespace {

// The player whose music the mixer's one music stream holds.
MusicPlayer* streamOwner = nullptr;

QString Reason(const char* text) {
  return text && *text ? QString::fromUtf8(text) : QStringLiteral("Unknown audio error");
}

bool Fail(const QString& reason, QString* error) {
  if (error) *error = reason;
  return false;
}

}  // namespace

const char* MusicPlayer::SoundFontPath() { return "/usr/share/sounds/sf2/TimGM6mb.sf2"; }

std::unique_ptr<MusicPlayer> MusicPlayer::FromMidiFile(const QString& path, QString* error) {
  if (!AudioDevice::Open(error)) return nullptr;
  static const bool fontSet = QFile::exists(QString::fromLatin1(SoundFontPath())) &&
                              Mix_SetSoundFonts(SoundFontPath()) != 0;
  if (!fontSet) {
    Fail(QStringLiteral("No General MIDI soundfont at ") + QString::fromLatin1(SoundFontPath()), error);
    return nullptr;
  }
  Mix_Music* music = Mix_LoadMUS(QFile::encodeName(path).constData());
  if (!music) {
    Fail(Reason(Mix_GetError()), error);
    return nullptr;
  }
  std::unique_ptr<MusicPlayer> player(new MusicPlayer);
  player->music_ = music;
  return player;
}

std::unique_ptr<MusicPlayer> MusicPlayer::FromWave(const QByteArray& wave, QString* error) {
  if (!AudioDevice::Open(error)) return nullptr;
  std::unique_ptr<AudioChunk> chunk = AudioChunk::FromWave(wave.constData(), std::size_t(wave.size()), error);
  if (!chunk) return nullptr;
  std::unique_ptr<MusicPlayer> player(new MusicPlayer);
  player->wave_ = std::move(chunk);
  return player;
}

MusicPlayer::~MusicPlayer() {
  Stop();
  if (streamOwner == this) {
    if (AudioDevice::IsOpen()) Mix_HaltMusic();
    streamOwner = nullptr;
  }
  if (music_) Mix_FreeMusic(music_);
}

bool MusicPlayer::Play(bool loop, QString* error) {
  if (!AudioDevice::IsOpen()) return Fail(QStringLiteral("The audio device is not open."), error);
  if (wave_) return wave_->Play({}, error, loop);
  if (streamOwner == this && paused_) {
    Mix_ResumeMusic();
    paused_ = false;
    return true;
  }
  if (Mix_PlayMusic(music_, loop ? -1 : 1) != 0) return Fail(Reason(Mix_GetError()), error);
  streamOwner = this;
  paused_ = false;
  return true;
}

void MusicPlayer::Stop() {
  if (wave_) {
    wave_->Stop();
    return;
  }
  if (streamOwner != this || paused_ || !AudioDevice::IsOpen()) return;
  Mix_PauseMusic();
  paused_ = true;
}

bool MusicPlayer::IsPlaying() const {
  if (wave_) return wave_->IsPlaying();
  return streamOwner == this && !paused_ && AudioDevice::IsOpen() && Mix_PlayingMusic() != 0;
}
