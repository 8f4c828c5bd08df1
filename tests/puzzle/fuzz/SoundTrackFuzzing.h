#pragma once
// One sound track the way the game takes it: checked, and when the check takes it, made into
// the mixer's player, played, then paused and resumed again and again while the audio thread
// works through the first moments of the music, and at last stopped and freed. Every call on
// the main thread that the game makes while music plays is timed. Needs a QCoreApplication:
// the audio device reports through its event loop.

#include <QByteArray>
#include <QString>

namespace SoundTrackFuzzing {

struct Totals {
  long inputs = 0, accepted = 0, played = 0;
  long replayed = 0;  // plays repeated after a call blocked too long
  qint64 longestMicros = 0;  // of any play, pause, resume, halt or free
  QString longestCall;
};

// Once, before the first input: a call that blocks the main thread longer than boundMs, in
// each of three plays of the same track, aborts the process as a crash would when abortBeyond
// is set; else it is only counted.
void Prepare(qint64 boundMs, bool abortBeyond);
// True when the track passed the check and played.
bool Run(const QByteArray& bytes);
const Totals& Tally();
// One line: "reach: inputs 10, accepted 6, played 6, longest call 12.3 ms (pause), played again 0".
QString Describe();

}  // namespace SoundTrackFuzzing
