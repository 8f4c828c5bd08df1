#pragma once
// One music track of a puzzle file: its data, read once, and its player. The data is checked
// before it is ever played; a track that fails the check keeps its bytes, for the saves, but is
// never played. A MIDI track is also kept in a temporary file for the player. The last playable
// track made with its loop flag set is the background track that the puzzle files start after
// loading and the main window stops and starts. Main thread only.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class MusicPlayer;
class QIODevice;
class QTemporaryFile;

struct SoundTrackHeader {
  std::uint16_t id = 0;
  std::uint16_t loop = 0;
  std::uint32_t length = 0;  // bytes of data
  std::uint16_t midi = 0;    // not 0: MIDI, else WAVE
  std::uint16_t reserved = 0;
};

class SoundTrack {
public:
  // A play that ends sooner than this after it started is taken for data the audio library
  // could not play; the second such end in a row stops the loop.
  static constexpr qint64 QuickEndMs = 500;

  // Copies the header's length in bytes from the stream's position; a stream that holds
  // fewer, or a temporary file that cannot be written, throws std::runtime_error.
  SoundTrack(QIODevice& stream, const SoundTrackHeader& header);
  ~SoundTrack();
  SoundTrack(const SoundTrack&) = delete;
  SoundTrack& operator=(const SoundTrack&) = delete;

  // The background track, or null.
  static SoundTrack* Current();

  const SoundTrackHeader& Header() const { return header_; }
  bool IsMidi() const { return header_.midi != 0; }
  qint64 Length() const { return header_.length; }
  // Why the data is not played, for the player to read; empty for a playable track.
  const QString& Refusal() const { return refusal_; }
  // The check every track passes before it is played, on any bytes (music chosen for a new
  // puzzle too), for the sound device as it plays: empty, or why they would be refused.
  static QString RefusalOf(const QByteArray& data, bool midi);
  // Appends the track's data; false when it was not all written.
  bool WriteData(QIODevice& stream) const;

  // Starts the track unless it plays already, was refused, background sound is switched off or
  // the welcome screen is still to be shown. Without a sound device it stays silent and logs why.
  // A looping track is started again each time it ends.
  void Play();
  // A MIDI track pauses, a WAVE track stops.
  void Stop();
  bool IsPlaying() const { return playing_; }
  // Plays started since the track was made, repeats included.
  int Starts() const { return starts_; }
  // Milliseconds of a steady clock that measures each play (tests); an empty function
  // restores the real one.
  static void SetClock(std::function<qint64()> clock);

private:
  bool MakePlayer();
  void Start();
  // The loop handler: the play ended by itself.
  void Ended();

  SoundTrackHeader header_;
  bool playing_ = false;
  QByteArray data_;
  QString refusal_;
  std::unique_ptr<QTemporaryFile> midi_;
  std::unique_ptr<MusicPlayer> player_;
  qint64 startedMs_ = 0;
  int quickEnds_ = 0;
  int starts_ = 0;
};
