#pragma once
// Music written by the tests and the fuzzing's seeds: WAVE images of every encoding the mixer
// reads, MIDI files of every format, and dense music of the kinds real files hold.

#include <QByteArray>
#include <QString>
#include <vector>

namespace MusicWriter {

struct Wave {
  int encoding = 1;  // a WaveFormat::Encoding
  int channels = 1;
  int rate = 8000;
  int bits = 16;
  int frames = 512;  // ADPCM rounds up to whole blocks
  bool extensible = false;
};
QByteArray WaveImage(const Wave& wave);

// An event at its tick from the track's start: a channel message, a meta event (FF type
// length data) or a system-exclusive one (F0 length data).
struct Event {
  qint64 tick;
  QByteArray bytes;
};
using Track = std::vector<Event>;
// Sorts each track's events by tick, writes them with delta times and ends each track.
QByteArray Midi(int format, int division, std::vector<Track> tracks);

QByteArray Note(int channel, int key, int velocity);  // velocity 0: released
QByteArray Control(int channel, int number, int value);
QByteArray Tempo(int microsPerQuarter);
QByteArray GmReset();

// `notes` keys struck at tick 0, across the channels, and released a beat later.
QByteArray ChordsAtOneTick(int notes);
// Sixteen parts at full strength: tutti chords on every beat, runs, a timpani roll,
// expression swells, vibrato and a GS set-up at the start.
QByteArray Orchestral(int seconds);
// Two hands of thirty-second-note runs, ten-note chords and the sustain pedal.
QByteArray PianoLike(int seconds);

struct Named {
  QString name;  // with the extension that tells its kind
  QByteArray bytes;
};
// The music fuzzing's seeds: every WAVE encoding at rates from 8 to 192 kHz and one to eight
// channels; MIDI of formats 0, 1 and 2 with dense chords, and the dense real music above.
std::vector<Named> Seeds();

}  // namespace MusicWriter
