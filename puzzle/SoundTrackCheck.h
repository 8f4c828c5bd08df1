#pragma once
// Whether a track's bytes are music the audio library can be given, and at what cost. The MIDI
// synthesiser takes almost anything at load time and only fails once it plays, inside the
// audio thread with the mixer locked, and the mixer converts a WAVE image whole when it is
// first played: so a track is checked before it is ever played, its structure and the work it
// asks for, and one beyond a bound is refused like a damaged one.

#include "platform/AudioFormat.h"

#include <QByteArray>
#include <QString>

namespace SoundTrackCheck {

// The synthesiser reads a file whole, twice, and copies every message while the audio thread
// plays: the largest MIDI files of real music are a few hundred kilobytes and hold some tens
// of thousands of events. (At about 0.1 us an event the library's load takes 25 ms.)
constexpr qint64 MaxMidiBytes = qint64(8) << 20;
constexpr qint64 MaxMidiEvents = 262144;

// Empty for a MIDI file whose header chunk is "MThd" of 6 bytes (format 0 to 2, at least one
// track, timing in ticks per quarter note), whose chunks up to its last track lie inside the
// bytes, whose every track's events end with an End-of-Track inside the track, which holds at
// least one note, and whose size, events and their density (MidiDensity) stay within the
// bounds; else what is wrong, in a few words.
QString MidiProblem(const QByteArray& data);

// Empty for a RIFF WAVE image whose chunks lie inside the bytes, with a format chunk the mixer
// reads (WaveFormat) before a data chunk holding at least one sample frame, whose samples
// converted for `output` stay within WaveFormat::MaxConvertedBytes; else what is wrong.
QString WaveProblem(const QByteArray& data, const AudioFormat& output = AudioFormat());

// "Sound track: damaged MIDI data: <what is wrong>." (or WAVE), as the player is told; empty
// for a track that may be played.
QString Refusal(const QByteArray& data, bool midi, const AudioFormat& output = AudioFormat());

}  // namespace SoundTrackCheck
