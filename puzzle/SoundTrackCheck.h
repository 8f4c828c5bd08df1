#pragma once
// Whether a track's bytes are music the audio library can be given. The MIDI synthesiser takes
// almost anything at load time and only fails once it plays, inside the audio thread, so a
// track is checked before it is ever played: its structure only, not its music.

#include <QByteArray>
#include <QString>

namespace SoundTrackCheck {

// Empty for a MIDI file whose header chunk is "MThd" of 6 bytes (format 0 to 2, at least one
// track, timing in ticks per quarter note), whose chunks up to its last track lie inside the
// bytes, whose every track's events end with an End-of-Track inside the track, and which holds
// at least one note; else what is wrong, in a few words.
QString MidiProblem(const QByteArray& data);

// Empty for a RIFF WAVE image whose chunks lie inside the bytes, with a format chunk of sane
// values before a data chunk holding at least one sample frame; else what is wrong.
QString WaveProblem(const QByteArray& data);

}  // namespace SoundTrackCheck
