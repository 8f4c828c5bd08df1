#pragma once
// How much a MIDI file asks of the synthesiser at once. The synthesiser takes every message
// that is due inside the audio callback, with the mixer locked: a file that puts 20,000 notes
// at one tick holds every pause of the music for seconds. Messages are counted per moment and
// per second of music, and bounded by what MIDI itself can say at once: 16 channels of 128 keys
// and 128 controllers. FluidSynth sounds 256 voices by default; past that a note only steals
// another note's voice, so nothing musical lies beyond these bounds.
//
// Measured with the game's soundfont, a note message costs the synthesiser about 3 us and a
// reset about 0.1 ms: a moment at every bound is some 25 ms of work in one callback.

#include <QString>
#include <QtGlobal>
#include <array>

class MidiDensity {
public:
  // What one pass of the audio thread takes at once (1024 frames, 23 ms at 44.1 kHz), and
  // closer together than the ear hears separate notes.
  static constexpr qint64 MomentMicroseconds = 25000;
  static constexpr int MomentsPerSecond = 40;
  // Note-on, note-off and key pressure: every key of every channel released and struck.
  static constexpr int MomentNotes = 16 * 128 * 2;
  // Each of a channel's 128 controllers, its program, pressure and pitch bend set once.
  static constexpr int MomentControlsPerChannel = 128 + 3;
  // A GS or XG file sets up its parts with a few dozen system-exclusive messages at its start.
  static constexpr int MomentExclusives = 128;
  // General MIDI, GS and XG resets, each of which resets all 16 channels.
  static constexpr int MomentResets = 16;
  // Per second: about ten MIDI cables at full speed (31,250 baud carry some 1,500 messages),
  // far beyond music played on instruments, and a few percent of a core for the synthesiser.
  static constexpr int SecondNotes = 16384, SecondControls = 16384, SecondExclusives = 512, SecondResets = 64;

  enum Kind { Note, Control, Exclusive, Reset, Kinds };

  // Counts one message due `micros` after the music's start, never earlier than the message
  // before it; a reset counts as a system-exclusive message too. False once a bound is passed.
  bool Add(qint64 micros, Kind kind, int channel);
  // Which bound was passed; empty while none was.
  const QString& Problem() const { return problem_; }

private:
  using Counts = std::array<int, Kinds>;
  void MoveTo(qint64 moment);
  bool Count(Kind kind, int channel);

  qint64 moment_ = -1;
  Counts now_{};                 // in the current moment
  std::array<int, 16> controls_{};  // per channel, in the current moment
  std::array<Counts, MomentsPerSecond> recent_{};  // the last second, one entry per moment
  Counts second_{};              // their sums
  QString problem_;
};
