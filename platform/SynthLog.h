#pragma once
// The MIDI synthesiser's own messages. Left to itself it writes every warning to stderr from
// the audio thread, inside the mixer's lock, as fast as a flooded synthesiser can: gigabytes a
// minute. Here only the first few reach the game's log and the rest are counted. What bounds
// the synthesiser's work is the check a track passes before it plays, not this.

#include <QString>
#include <cstdint>

class SynthLog {
public:
  // Where the first lines go; called on any thread, so it must be thread-safe.
  using Sink = void (*)(const QString& line);
  // Warnings and errors passed on after each report; the rest are only counted.
  static constexpr int LinesShown = 5;

  // Takes over the synthesiser's messages for the rest of the process; once is enough.
  static void Install();
  static void SetSink(Sink sink);
  // Messages heard since the last report.
  static std::uint64_t Heard();
  // Main thread: passes on how many messages were not shown, if any, and starts a new count.
  static void Report();
};
