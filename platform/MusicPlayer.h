#pragma once
// A puzzle's background music on the shared audio device: a MIDI file rendered through the
// mixer's music stream with the General MIDI soundfont, or a WAVE image on a mixer channel of
// its own. Made, played and deleted on the main thread. The mixer has one music stream: a
// MIDI player that starts takes it from any other.

#include <QByteArray>
#include <QString>
#include <memory>

class AudioChunk;
struct _Mix_Music;

class MusicPlayer {
public:
  static const char* SoundFontPath();

  // Null, with the reason, when the device cannot open or the data cannot be read.
  static std::unique_ptr<MusicPlayer> FromMidiFile(const QString& path, QString* error);
  static std::unique_ptr<MusicPlayer> FromWave(const QByteArray& wave, QString* error);
  ~MusicPlayer();
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;

  // Starts (a paused MIDI play resumes where it stopped); a looping play repeats until it
  // is stopped. False, with the reason, when the mixer refuses.
  bool Play(bool loop, QString* error);
  // MIDI pauses; WAVE stops.
  void Stop();
  bool IsPlaying() const;
  bool IsMidi() const { return music_ != nullptr; }

private:
  MusicPlayer() = default;

  _Mix_Music* music_ = nullptr;
  std::unique_ptr<AudioChunk> wave_;
  bool paused_ = false;
};
