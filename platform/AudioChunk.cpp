#include "AudioChunk.h"

#include "AudioChannels.h"
#include "AudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstring>
#include <limits>
#include <utility>

namespace {
bool Fail(const QString& reason, QString* error) {
  if (error) *error = reason;
  return false;
}

QString Reason(const char* text) {
  return text && *text ? QString::fromUtf8(text) : QStringLiteral("Unknown audio error");
}

std::unique_ptr<AudioChunk> Refused(const QString& reason, QString* error) {
  Fail(reason, error);
  return nullptr;
}

bool IsWave(const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  return data && size >= 12 && std::memcmp(bytes, "RIFF", 4) == 0 &&
         std::memcmp(bytes + 8, "WAVE", 4) == 0;
}
}  // namespace

std::unique_ptr<AudioChunk> AudioChunk::FromWave(const void* data, std::size_t size,
                                                 QString* error) {
  if (!AudioDevice::IsOpen())
    return Refused(QStringLiteral("The audio device is not open."), error);
  if (!IsWave(data, size)) return Refused(QStringLiteral("Not a WAVE image."), error);
  if (size > std::size_t(std::numeric_limits<int>::max()))
    return Refused(QStringLiteral("The WAVE image is too large."), error);
  SDL_RWops* reader = SDL_RWFromConstMem(data, int(size));
  if (!reader) return Refused(Reason(SDL_GetError()), error);
  Mix_Chunk* chunk = Mix_LoadWAV_RW(reader, 1);  // closes the reader in every case
  if (!chunk) return Refused(Reason(Mix_GetError()), error);
  return std::unique_ptr<AudioChunk>(new AudioChunk(chunk));
}

AudioChunk::~AudioChunk() {
  Stop();
  Mix_FreeChunk(chunk_);
}

bool AudioChunk::Play(std::function<void()> onFinished, QString* error) {
  Stop();
  if (!AudioDevice::IsOpen()) return Fail(QStringLiteral("The audio device is not open."), error);
  const AudioChannels::Token token = AudioChannels::NewToken();
  const int channel = AudioChannels::Claim(token, std::move(onFinished));
  if (channel < 0) return Fail(QStringLiteral("No free audio channel."), error);
  if (Mix_PlayChannel(channel, chunk_, 0) != channel) {
    const QString reason = Reason(Mix_GetError());
    AudioChannels::Unclaim(channel);
    return Fail(reason, error);
  }
  token_ = token;
  return true;
}

void AudioChunk::Stop() {
  if (token_ == 0) return;
  const AudioChannels::Token token = std::exchange(token_, 0);
  AudioChannels::Forget(token);
  // After closing, the mixer's channel table is gone: no mixer call may touch it.
  if (!AudioDevice::IsOpen()) return;
  const int channel = AudioChannels::ChannelOf(token);
  if (channel >= 0) Mix_HaltChannel(channel);
}

bool AudioChunk::IsPlaying() const { return AudioChannels::ChannelOf(token_) >= 0; }
