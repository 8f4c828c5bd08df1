#pragma once
// One WAVE sound decoded for the open audio device, played on a mixer channel of its own.
// Made, played, stopped and deleted on the main thread.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

struct Mix_Chunk;

class AudioChunk {
public:
  // Decodes a WAVE image ("RIFF"...."WAVE"); the bytes are read through SDL's bounded memory
  // reader and not kept. Null, with the reason, when the device is not open or the image is not
  // a WAVE image it can read. Nothing else is decoded: the bytes may come from a puzzle file.
  static std::unique_ptr<AudioChunk> FromWave(const void* data, std::size_t size, QString* error);
  // Stops a play without its finished notice.
  ~AudioChunk();
  AudioChunk(const AudioChunk&) = delete;
  AudioChunk& operator=(const AudioChunk&) = delete;

  // Plays once from the start on a free channel, cutting short a play of this chunk still
  // running. onFinished runs later on the main thread when the sound ends by itself, never after
  // Stop or deletion; it may delete this chunk. Never looped by the mixer: a chunk without
  // samples, looped, spins in the audio thread with the mixer locked.
  bool Play(std::function<void()> onFinished, QString* error);
  void Stop();
  bool IsPlaying() const;

private:
  explicit AudioChunk(Mix_Chunk* chunk) : chunk_(chunk) {}

  Mix_Chunk* chunk_;
  std::uint64_t token_ = 0;  // the latest play; 0 when none
};
