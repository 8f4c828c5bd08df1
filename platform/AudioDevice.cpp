#include "AudioDevice.h"

#include "AudioChannels.h"
#include "SynthLog.h"

#include <QCoreApplication>
#include <QThread>
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <atomic>

namespace {
std::atomic<bool> isOpen{false};
bool failed = false;
QString failure;

bool Fail(const QString& reason, QString* error) {
  if (error) *error = reason;
  return false;
}

// Remembered: the next sound gets the same answer without another attempt.
bool Refuse(const char* reason, QString* error) {
  failed = true;
  failure = reason && *reason ? QString::fromUtf8(reason) : QStringLiteral("Unknown audio error");
  return Fail(failure, error);
}
}  // namespace

bool AudioDevice::Open(QString* error) {
  if (isOpen) return true;
  if (failed) return Fail(failure, error);
  const QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() != app->thread())
    return Fail(QStringLiteral("The audio device opens only on the main thread."), error);

  // Ctrl+C and SIGTERM stay with the game; SDL would turn them into events nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Refuse(SDL_GetError(), error);
  SynthLog::Install();
  const AudioFormat asked;
  if (Mix_OpenAudio(asked.rate, AUDIO_S16SYS, asked.channels, 1024) != 0) {
    const QByteArray reason = Mix_GetError();  // before quitting SDL can replace it
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return Refuse(reason.constData(), error);
  }
  AudioChannels::Start(Mix_AllocateChannels(-1));
  isOpen = true;
  qAddPostRoutine(&AudioDevice::Close);
  return true;
}

bool AudioDevice::IsOpen() { return isOpen; }

AudioFormat AudioDevice::Format() {
  AudioFormat format;
  int rate = 0, channels = 0;
  Uint16 samples = 0;
  if (isOpen && Mix_QuerySpec(&rate, &samples, &channels) != 0)
    format = AudioFormat{rate, channels, int(SDL_AUDIO_BITSIZE(samples) / 8)};
  return format;
}

void AudioDevice::Close() {
  if (!isOpen) return;
  AudioChannels::Finish();
  // Closing halts the music, whose end nobody is waiting for any more.
  Mix_HookMusicFinished(nullptr);
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  isOpen = false;
  qRemovePostRoutine(&AudioDevice::Close);
}
