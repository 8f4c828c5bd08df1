#include "MusicPlayer.h"

#include "AudioChunk.h"
#include "AudioDevice.h"
#include "SynthLog.h"

#include <QFile>
#include <QMetaObject>
#include <QObject>
#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>
#include <utility>

namespace {

// The player whose music the mixer's one music stream holds.
MusicPlayer* streamOwner = nullptr;
// Lives on the main thread for the rest of the process: the mixer's notice may be on its way
// to it while the device closes.
std::atomic<QObject*> receiver{nullptr};

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
    streamOwner = nullptr;  // first: halting reports an end, which must find nobody
    if (AudioDevice::IsOpen()) Mix_HaltMusic();
  }
  if (!music_) return;
  Mix_FreeMusic(music_);
  SynthLog::Report();
}

bool MusicPlayer::Play(std::function<void()> onEnded, QString* error) {
  if (!AudioDevice::IsOpen()) return Fail(QStringLiteral("The audio device is not open."), error);
  if (wave_) return wave_->Play(std::move(onEnded), error);
  if (!receiver) receiver = new QObject;
  Mix_HookMusicFinished(&MusicPlayer::MixerMusicEnded);
  // A paused play that ended meanwhile has nothing left to resume.
  if (streamOwner == this && paused_ && Mix_PlayingMusic()) {
    Mix_ResumeMusic();
  } else {
    if (Mix_PlayMusic(music_, 1) != 0) return Fail(Reason(Mix_GetError()), error);
    streamOwner = this;
  }
  paused_ = false;
  onEnded_ = std::move(onEnded);
  return true;
}

void MusicPlayer::Stop() {
  if (wave_) {
    wave_->Stop();
    return;
  }
  onEnded_ = nullptr;
  if (streamOwner != this || paused_ || !AudioDevice::IsOpen()) return;
  Mix_PauseMusic();
  paused_ = true;
}

// Inside the mixer's lock: only hands the notice over to the main thread.
void MusicPlayer::MixerMusicEnded() {
  QObject* target = receiver;
  if (!target) return;
  try {
    QMetaObject::invokeMethod(target, &MusicPlayer::MusicEnded, Qt::QueuedConnection);
  } catch (...) {
    // Out of memory: the end is not heard, which is better than unwinding through the mixer.
  }
}

// A notice of a play that was halted, replaced or restarted meanwhile finds the stream busy or
// without its owner, and is dropped.
void MusicPlayer::MusicEnded() {
  MusicPlayer* owner = streamOwner;
  if (!owner || owner->paused_ || !owner->onEnded_ || !AudioDevice::IsOpen() || Mix_PlayingMusic()) return;
  const std::function<void()> onEnded = std::exchange(owner->onEnded_, nullptr);
  onEnded();
}

bool MusicPlayer::IsPlaying() const {
  if (wave_) return wave_->IsPlaying();
  return streamOwner == this && !paused_ && AudioDevice::IsOpen() && Mix_PlayingMusic() != 0;
}
