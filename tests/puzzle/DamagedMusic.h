#pragma once
// MIDI tracks made by the tests: a valid file built from its events, and the damaged ones a
// player's file may carry (each once froze the game when looped by the audio library). The
// fuzzing's seeds use them too.

#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace DamagedMusic {

inline QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int value : values) bytes.append(char(value));
  return bytes;
}

inline QByteArray Chunk(const char* name, const QByteArray& body) {
  char length[4];
  qToBigEndian(std::uint32_t(body.size()), length);
  return QByteArray(name, 4) + QByteArray(length, 4) + body;
}

inline QByteArray Header(int format, int tracks, int division) {
  char values[6];
  qToBigEndian(std::uint16_t(format), values);
  qToBigEndian(std::uint16_t(tracks), values + 2);
  qToBigEndian(std::uint16_t(division), values + 4);
  return Chunk("MThd", QByteArray(values, 6));
}

// Middle C for a quarter note, then the end of the track.
inline QByteArray NoteEvents() { return Bytes({0, 0x90, 60, 100, 96, 0x80, 60, 0}); }
inline QByteArray EndOfTrack() { return Bytes({0, 0xFF, 0x2F, 0}); }
inline QByteArray OneNote() { return Header(0, 1, 96) + Chunk("MTrk", NoteEvents() + EndOfTrack()); }

struct Track {
  const char* name;  // also the reproducer's file name
  QByteArray bytes;
};

// MIDI tracks the synthesiser cannot play and, asked to loop, retries forever in the audio
// thread.
inline std::vector<Track> DamagedMidi() {
  QByteArray notMThd = OneNote();  // 34 bytes
  notMThd[1] = 'X';
  return {
      {"header-not-mthd", notMThd},
      {"no-tracks", Header(0, 0, 96)},
      {"only-end-of-track", Header(0, 1, 96) + Chunk("MTrk", EndOfTrack())},
      {"smpte-timing", Header(0, 1, 0xE728) + Chunk("MTrk", NoteEvents() + EndOfTrack())},
      {"running-status-first", Header(0, 1, 96) + Chunk("MTrk", Bytes({0, 60, 100, 96, 0x80, 60, 0}) + EndOfTrack())},
      {"end-of-track-of-length-1", Header(0, 1, 96) + Chunk("MTrk", NoteEvents() + Bytes({0, 0xFF, 0x2F, 1, 0}))},
      {"non-ascii-chunk-id", Header(0, 1, 96) + Chunk("\xFFTrk", "abcd") + Chunk("MTrk", NoteEvents() + EndOfTrack())},
  };
}

// Structurally sound, but the synthesiser refuses a tempo of two bytes as soon as it plays.
inline QByteArray FailsInTheLibrary() {
  return Header(0, 1, 96) + Chunk("MTrk", Bytes({0, 0xFF, 0x51, 2, 7, 0xA1}) + NoteEvents() + EndOfTrack());
}

}  // namespace DamagedMusic
