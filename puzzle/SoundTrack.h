#pragma once
// One music track of a puzzle file: its data, read once, and its player. MIDI data goes to a
// temporary file, WAVE data stays in memory. The last track made with its loop flag set is
// the background track that the puzzle files start after loading and the main window stops
// and starts. Main thread only.

#include <QByteArray>
#include <QString>
#include <cstdint>
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
  // Appends the track's data; false when it was not all written.
  bool WriteData(QIODevice& stream) const;

  // Starts the track unless it plays already, background sound is switched off or the
  // welcome screen is still to be shown. Without a sound device it stays silent and logs why.
  void Play();
  // A MIDI track pauses, a WAVE track stops.
  void Stop();
  bool IsPlaying() const { return playing_; }

private:
  bool MakePlayer();

  SoundTrackHeader header_;
  bool playing_ = false;
  QByteArray wave_;
  std::unique_ptr<QTemporaryFile> midi_;
  std::unique_ptr<MusicPlayer> player_;
};
