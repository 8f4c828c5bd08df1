// The check a track passes before it is played: every damaged MIDI file that once froze the
// game is refused, sound files of every legal shape are taken, and nothing is read outside
// the bytes.

#include "DamagedMusic.h"
#include "JigsawFileBuilder.h"

#include "puzzle/SoundTrackCheck.h"

#include <gtest/gtest.h>

using namespace DamagedMusic;
using SoundTrackCheck::MidiProblem;
using SoundTrackCheck::WaveProblem;

namespace {

QByteArray Tracked(const QByteArray& events) { return Chunk("MTrk", events + EndOfTrack()); }

QByteArray Le32(std::uint32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  return QByteArray(bytes, 4);
}

// A WAVE image from its chunks, with the RIFF size filled in.
QByteArray Riff(const QByteArray& chunks) { return "RIFF" + Le32(std::uint32_t(chunks.size() + 4)) + "WAVE" + chunks; }

QByteArray Format(int channels, std::uint32_t rate, int blockAlign, int bits, int length = 16) {
  QByteArray body(length, '\0');
  qToLittleEndian(std::uint16_t(1), body.data());
  if (length >= 16) {
    qToLittleEndian(std::uint16_t(channels), body.data() + 2);
    qToLittleEndian(rate, body.data() + 4);
    qToLittleEndian(std::uint32_t(rate * blockAlign), body.data() + 8);
    qToLittleEndian(std::uint16_t(blockAlign), body.data() + 12);
    qToLittleEndian(std::uint16_t(bits), body.data() + 14);
  }
  return "fmt " + Le32(std::uint32_t(length)) + body;
}

QByteArray WaveChunk(const char* name, const QByteArray& body) {
  return QByteArray(name, 4) + Le32(std::uint32_t(body.size())) + body;
}

QByteArray Data(int bytes) { return "data" + Le32(std::uint32_t(bytes)) + QByteArray(bytes, '\x80'); }

}  // namespace

// Each damaged track the synthesiser loops on forever, and the ways a chunk or an event can
// run outside its bounds, are refused with a reason.
TEST(SoundTrackCheckTest, DamagedMidiIsRefused) {
  for (const DamagedMusic::Track& track : DamagedMidi()) EXPECT_FALSE(MidiProblem(track.bytes).isEmpty()) << track.name;
  const QByteArray body = NoteEvents();
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"header of 8 bytes", Chunk("MThd", QByteArray(8, '\0')) + Tracked(body)},
      {"format 3", Header(3, 1, 96) + Tracked(body)},
      {"no ticks per quarter note", Header(0, 1, 0) + Tracked(body)},
      {"fewer tracks than the header says", Header(1, 2, 96) + Tracked(body)},
      {"track longer than the file", Header(0, 1, 96) + Tracked(body).chopped(3)},
      {"alien chunk longer than the file", Header(0, 1, 96) + Chunk("XFIH", "ab").chopped(1)},
      {"no End-of-Track", Header(0, 1, 96) + Chunk("MTrk", body)},
      {"note cut short", Header(0, 1, 96) + Chunk("MTrk", Bytes({0, 0x90, 60}))},
      {"program change without its byte", Header(0, 1, 96) + Chunk("MTrk", body + Bytes({0, 0xC0}))},
      {"delta time of five bytes", Header(0, 1, 96) + Tracked(body + Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x80, 60, 0}))},
      {"delta time at the track's end", Header(0, 1, 96) + Chunk("MTrk", body + Bytes({0x81}))},
      {"meta event past the track", Header(0, 1, 96) + Tracked(body + Bytes({0, 0xFF, 0x01, 0x83, 0x00, 'a'}))},
      {"meta event without its type", Header(0, 1, 96) + Chunk("MTrk", body + Bytes({0, 0xFF}))},
      {"sysex past the track", Header(0, 1, 96) + Tracked(Bytes({0, 0xF0, 0x86, 0x8D, 0x20}) + body)},
      {"running status after a meta event", Header(0, 1, 96) + Tracked(Bytes({0, 0x90, 60, 100, 0, 0xFF, 0x01, 0, 0, 60, 0}))},
      {"a system message", Header(0, 1, 96) + Tracked(Bytes({0, 0xF1, 5}) + body)},
      {"no note", Header(1, 2, 96) + Tracked(Bytes({0, 0xFF, 0x51, 3, 7, 0xA1, 0x20})) + Tracked(Bytes({0, 0xC0, 5}))},
  };
  for (const auto& c : cases) EXPECT_FALSE(MidiProblem(c.bytes).isEmpty()) << c.what;
  // Cut anywhere, the one-note tune falls short of a chunk or an event.
  const QByteArray tune = OneNote();
  for (int size = 0; size < tune.size(); ++size) EXPECT_FALSE(MidiProblem(tune.left(size)).isEmpty()) << size;
}

// Files of every shape the format allows, including those the synthesiser itself refuses
// only while it plays.
TEST(SoundTrackCheckTest, SoundMidiIsTaken) {
  const QByteArray body = NoteEvents();
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"the fixtures' tune", JigsawFixtures::TinyMidi()},
      {"one note", OneNote()},
      {"the most ticks per quarter note", Header(0, 1, 0x7FFF) + Tracked(body)},
      {"a tempo track without notes, then the notes", Header(1, 2, 480) + Tracked(Bytes({0, 0xFF, 0x51, 3, 7, 0xA1, 0x20})) + Tracked(body)},
      {"chunks of other names between the tracks", Header(1, 2, 96) + Chunk("XFIH", "abc") + Tracked(body) + Chunk("XFIH", "") + Tracked(body)},
      {"running status", Header(0, 1, 96) + Tracked(Bytes({0, 0x90, 60, 100, 48, 64, 100, 48, 60, 0, 0, 64, 0}))},
      {"note-off only", Header(0, 1, 96) + Tracked(Bytes({0, 0x80, 60, 0}))},
      {"two-byte delta times and a long meta length", Header(0, 1, 96) + Tracked(Bytes({0x81, 0x00, 0xFF, 0x01, 0x81, 0x00}) + QByteArray(128, 'a') + body)},
      {"a four-byte delta time", Header(0, 1, 96) + Tracked(body + Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0}))},
      {"sysex and its continuation", Header(0, 1, 96) + Tracked(Bytes({0, 0xF0, 2, 0x7E, 0xF7, 0, 0xF7, 1, 0xF7}) + body)},
      {"program change, pressure, pitch bend", Header(2, 1, 96) + Tracked(Bytes({0, 0xC3, 5, 0, 0xD3, 9, 0, 0xE3, 0, 64}) + body)},
      {"bytes after the last track", OneNote() + "tail"},
      {"events after End-of-Track", Header(0, 1, 96) + Chunk("MTrk", body + EndOfTrack() + "junk")},
      {"a tempo of two bytes", FailsInTheLibrary()},
  };
  for (const auto& c : cases) EXPECT_EQ(MidiProblem(c.bytes), QString()) << c.what;
}

// A WAVE image needs its format before its data, sane format values, at least one sample
// frame, and every chunk inside the bytes.
TEST(SoundTrackCheckTest, WaveChunksAreChecked) {
  const QByteArray format = Format(1, 8000, 1, 8);
  const struct {
    const char* what;
    QByteArray bytes;
    bool taken;
  } cases[] = {
      {"the fixtures' sound", JigsawFixtures::TinyWave(), true},
      {"one sample frame", Riff(Format(2, 44100, 4, 16) + Data(4)), true},
      {"an odd chunk padded, a list after the data", Riff(WaveChunk("LIST", "abc") + '\0' + format + Data(3) + '\0' + WaveChunk("LIST", "x")), true},
      {"a fragment after the last chunk", Riff(format + Data(8)) + "abc", true},
      {"an extended format chunk", Riff(Format(1, 8000, 1, 8, 18) + Data(8)), true},
      {"not RIFF", "RIFX" + Riff(format + Data(8)).mid(4), false},
      {"not WAVE", Riff(format + Data(8)).replace(8, 4, "AVI "), false},
      {"too short for the header", QByteArray("RIFF\0\0\0\0WAV", 11), false},
      {"format chunk of 14 bytes", Riff(Format(1, 8000, 1, 8, 14) + Data(8)), false},
      {"no channels", Riff(Format(0, 8000, 1, 8) + Data(8)), false},
      {"no sample rate", Riff(Format(1, 0, 1, 8) + Data(8)), false},
      {"no block size", Riff(Format(1, 8000, 0, 8) + Data(8)), false},
      {"no bits per sample", Riff(Format(1, 8000, 1, 0) + Data(8)), false},
      {"data before its format", Riff(Data(8) + format), false},
      {"no format", Riff(Data(8)), false},
      {"no data", Riff(format), false},
      {"data shorter than a frame", Riff(Format(2, 44100, 4, 16) + Data(3)), false},
      {"data past the end", Riff(format + Data(8)).chopped(1), false},
      {"a chunk past the end", Riff(format + Data(8) + "LIST" + Le32(100) + "ab"), false},
      {"a chunk without a name", Riff(format + WaveChunk("\x01\x02\x03\x04", "ab") + Data(8)), false},
  };
  for (const auto& c : cases) EXPECT_EQ(WaveProblem(c.bytes).isEmpty(), c.taken) << c.what;
  const QByteArray wave = JigsawFixtures::TinyWave(20);
  for (int size = 0; size < wave.size(); ++size) EXPECT_FALSE(WaveProblem(wave.left(size)).isEmpty()) << size;
}
