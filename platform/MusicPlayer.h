#pragma once
// A puzzle's background music on the shared audio device: a MIDI file rendered through the
// mixer's music stream with the General MIDI soundfont, or a WAVE image on a mixer channel of
// its own. Made, played and deleted on the main thread. The mixer has one music stream: a
// MIDI player that starts takes it from any other.
//
// Every play is played once: the MIDI synthesiser, asked to loop data it cannot parse, reloads
// it forever inside the audio thread with the mixer locked, so that the next pause never
// returns. Whoever wants a loop starts the play again when it ends.

#include <QByteArray>
#include <QString>
#include <functional>
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

  // Plays once from the start (a paused MIDI play resumes where it stopped). onEnded runs later
  // on the main thread when the play has ended by itself, never after Stop or deletion; it may
  // delete this player. False, with the reason, when the mixer refuses.
  bool Play(std::function<void()> onEnded, QString* error);
  // MIDI pauses; WAVE stops. Neither reports an end afterwards.
  void Stop();
  bool IsPlaying() const;
  bool IsMidi() const { return music_ != nullptr; }

private:
  MusicPlayer() = default;
  // The mixer's notice that its music stream ended, on whichever thread it comes.
  static void MixerMusicEnded();
  // On the main thread: tells the stream's owner when its play ended by itself.
  static void MusicEnded();

  _Mix_Music* music_ = nullptr;
  std::function<void()> onEnded_;
  std::unique_ptr<AudioChunk> wave_;
  bool paused_ = false;
};
