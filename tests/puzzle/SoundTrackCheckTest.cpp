// The check a track passes before it is played: every damaged MIDI file that once froze the
// game is refused, sound files of every legal shape are taken, nothing is read outside the
// bytes, and the work a track asks of the mixer and the synthesiser stays within the bounds.

#include "DamagedMusic.h"
#include "JigsawFileBuilder.h"
#include "MusicWriter.h"

#include "puzzle/SoundTrackCheck.h"
#include "puzzle/WaveFormat.h"

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

namespace {

using MusicWriter::Event;
using MusicWriter::Note;

QByteArray Patched(QByteArray bytes, int at, const QByteArray& value) { return bytes.replace(at, value.size(), value); }

QByteArray Le16(int value) { return Le32(std::uint32_t(value)).left(2); }

// An 8-bit mono tone at 4000 Hz: the mixer's working buffer holds 96 bytes a frame for the
// device (a float per channel of two, twelve times over), so this is the longest taken.
constexpr int LongestAt4000 = int(WaveFormat::MaxConvertedBytes / 96);

QByteArray Tone(int rate, int channels = 1, int frames = 512, int encoding = 1, int bits = 8) {
  return MusicWriter::WaveImage({encoding, channels, rate, bits, frames, false});
}

// Copies of an event, so many at each tick, on a clock of 1 ms a tick at the usual tempo; a
// note for a file of other events.
QByteArray Spread(const QByteArray& event, std::initializer_list<std::pair<qint64, int>> at, int tempo = 500000) {
  MusicWriter::Track track{{0, MusicWriter::Tempo(tempo)}};
  for (const auto& [tick, count] : at)
    for (int i = 0; i < count; ++i) track.push_back({tick, event});
  if ((event[0] & 0xE0) != 0x80) track.push_back({0, Note(0, 60, 100)});
  return MusicWriter::Midi(0, 500, {track});
}

// Notes a tick of 1 ms apart; with the tempo and the End-of-Track, `events` in all.
QByteArray OfEvents(qint64 events) {
  MusicWriter::Track track{{0, MusicWriter::Tempo(500000)}};
  for (qint64 i = 0; i < events - 2; ++i) track.push_back({i, Note(0, 60, i % 2 ? 0 : 100)});
  return MusicWriter::Midi(0, 500, {track});
}

// A text event of `length` bytes before the one-note tune.
QByteArray WithText(int length) {
  QByteArray event = Bytes({0, 0xFF, 0x01});
  for (int shift = 21; shift > 0; shift -= 7) event += char(0x80 | ((length >> shift) & 0x7F));
  return Header(0, 1, 96) + Tracked(event + char(length & 0x7F) + QByteArray(length, 'a') + NoteEvents());
}

// A note every 2^28 - 1 ticks, the longest delta time there is.
QByteArray LongTrack(int steps) {
  MusicWriter::Track track;
  for (qint64 i = 0; i <= steps; ++i) track.push_back({i * 0x0FFFFFFF, Note(0, 60, 100)});
  return MusicWriter::Midi(0, 500, {track});
}

// `count` keys struck at tick 0 across the channels, split over `tracks` tracks.
QByteArray StruckTogether(int count, int tracks = 1) {
  std::vector<MusicWriter::Track> parts{std::size_t(tracks)};
  for (int i = 0; i < count; ++i) parts[std::size_t(i % tracks)].push_back({0, Note(i % 16, (i / 16) % 128, 100)});
  return MusicWriter::Midi(tracks > 1 ? 1 : 0, 96, parts);
}

}  // namespace

// Each encoding the mixer reads, at every rate and channel count of the seeds, is taken; a
// format it cannot read, a rate or channel count outside the bounds, and a track whose
// conversion for the device would take more than the bound are refused. (A WAVE at 1 Hz
// once crashed the mixer as it converted it.)
TEST(SoundTrackCheckTest, WaveFormatsAndRatesAreBounded) {
  for (const MusicWriter::Named& seed : MusicWriter::Seeds())
    if (seed.name.endsWith(QLatin1String(".wav"))) {
      EXPECT_EQ(WaveProblem(seed.bytes), QString()) << qPrintable(seed.name);
    }
  const QByteArray extensible = MusicWriter::WaveImage({1, 2, 48000, 16, 64, true});
  const QByteArray msAdpcm = MusicWriter::WaveImage({2, 1, 11025, 4, 64, false});
  const struct {
    const char* what;
    QByteArray bytes;
    bool taken;
  } cases[] = {
      {"1 Hz", Tone(1), false},
      {"3999 Hz", Tone(3999), false},
      {"4000 Hz", Tone(4000), true},
      {"192001 Hz", Tone(192001), false},
      {"9 channels", Tone(44100, 9), false},
      {"64-bit floats", Tone(48000, 1, 64, 3, 64), false},
      {"12-bit samples", Patched(Tone(48000, 1, 64, 1, 16), 34, Le16(12)), false},
      {"MPEG layer 3", Patched(Tone(48000), 20, Le16(0x55)), false},
      {"a block size that does not fit the samples", Patched(Tone(48000), 32, Le16(2)), false},
      {"an unknown extensible sub-format", Patched(extensible, 46, "\x11"), false},
      {"extensible within extensible", Patched(extensible, 44, Le16(0xFFFE)), false},
      {"MS ADPCM of three channels", MusicWriter::WaveImage({2, 3, 11025, 4, 64, false}), false},
      {"an ADPCM block claiming more samples", Patched(msAdpcm, 38, Le16(501)), false},
      {"MS ADPCM without coefficients", Patched(msAdpcm, 40, Le16(6)), false},
      {"an MS ADPCM block naming a coefficient it lacks", Patched(msAdpcm, msAdpcm.indexOf("data") + 8, "\x07"), false},
      {"the longest track at 4000 Hz", Tone(4000, 1, LongestAt4000), true},
      {"one frame longer", Tone(4000, 1, LongestAt4000 + 1), false},
  };
  for (const auto& c : cases) EXPECT_EQ(WaveProblem(c.bytes).isEmpty(), c.taken) << c.what;
  // Counted in bytes: samples in the device's format are held as they are; others as floats,
  // at the larger channel count and at the device's rate rounded up to a whole multiple.
  const auto format = [](const QByteArray& image) {
    WaveFormat read;
    EXPECT_EQ(read.Read(reinterpret_cast<const unsigned char*>(image.constData()) + 20, 16), QString());
    return read;
  };
  EXPECT_EQ(format(Tone(44100, 2, 8, 1, 16)).ConvertedBytes(1000, AudioFormat{}), 4000);
  EXPECT_EQ(format(Tone(22050, 2, 8, 1, 16)).ConvertedBytes(1000, AudioFormat{}), 1000 * 2 * 4 * 2);
  EXPECT_EQ(format(Tone(48000, 8, 8, 3, 32)).ConvertedBytes(1000, AudioFormat{}), 1000 * 8 * 4);
  EXPECT_EQ(format(MusicWriter::WaveImage({0x11, 2, 44100, 4, 8, false})).Frames(512 + 1), 2 * 505);
  // A device that opened at another rate or channel count converts to that.
  EXPECT_EQ(WaveProblem(Tone(4000, 1, LongestAt4000), AudioFormat{48000, 2, 2}), QString());
  EXPECT_FALSE(WaveProblem(Tone(4000, 1, LongestAt4000), AudioFormat{48001, 2, 2}).isEmpty());
  EXPECT_FALSE(WaveProblem(Tone(4000, 1, LongestAt4000 / 2), AudioFormat{44100, 6, 2}).isEmpty());
}

// Dense real music is taken; messages beyond what MIDI can say at one moment (16 channels x
// 128 keys) or in a second are refused, counted by time whatever the ticks and tracks, and so
// are files of too many events or bytes. (20,000 notes at one tick once froze every pause of
// the music for half a minute.)
TEST(SoundTrackCheckTest, MidiWorkIsBounded) {
  for (const MusicWriter::Named& seed : MusicWriter::Seeds())
    if (seed.name.endsWith(QLatin1String(".mid"))) {
      EXPECT_EQ(MidiProblem(seed.bytes), QString()) << qPrintable(seed.name);
    }
  const QByteArray control = MusicWriter::Control(3, 7, 100), reset = MusicWriter::GmReset();
  const QByteArray gsReset = Bytes({0xF0, 10, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
  const QByteArray xgOn = Bytes({0xF0, 8, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7});
  const QByteArray other = Bytes({0xF0, 3, 0x43, 0x10, 0xF7});
  const QByteArray note = Note(0, 60, 100);
  const struct {
    const char* what;
    QByteArray bytes;
    bool taken;
  } cases[] = {
      {"an orchestra for a minute", MusicWriter::Orchestral(60), true},
      {"a pianist for a minute", MusicWriter::PianoLike(60), true},
      {"4096 notes at one tick", StruckTogether(4096), true},
      {"4097 notes at one tick", StruckTogether(4097), false},
      {"20,000 notes at one tick", MusicWriter::ChordsAtOneTick(20000), false},
      {"4097 notes over sixteen tracks", StruckTogether(4097, 16), false},
      {"4097 notes at two ticks 1 ms apart", Spread(note, {{0, 2048}, {1, 2049}}), false},
      {"4097 notes at two ticks 25 ms apart", Spread(note, {{0, 2048}, {25, 2049}}), true},
      {"the same at a tempo of 1 ms a beat", Spread(note, {{0, 2048}, {25, 2049}}, 1000), false},
      {"131 controls to one channel", Spread(control, {{0, 131}}), true},
      {"132 controls to one channel", Spread(control, {{0, 132}}), false},
      {"128 system-exclusive messages", Spread(other, {{0, 128}}), true},
      {"129 system-exclusive messages", Spread(other, {{0, 129}}), false},
      {"16 General MIDI resets", Spread(reset, {{0, 16}}), true},
      {"17 General MIDI resets", Spread(reset, {{0, 17}}), false},
      {"17 GS resets", Spread(gsReset, {{0, 17}}), false},
      {"17 XG resets", Spread(xgOn, {{0, 17}}), false},
      {"16384 notes in a second", Spread(note, {{0, 4096}, {250, 4096}, {500, 4096}, {750, 4096}}), true},
      {"16385 notes in a second", Spread(note, {{0, 4096}, {250, 4096}, {500, 4096}, {750, 4096}, {999, 1}}), false},
      {"the last a second after the first", Spread(note, {{0, 4096}, {250, 4096}, {500, 4096}, {750, 4096}, {1000, 1}}), true},
      {"65 resets in a second", Spread(reset, {{0, 13}, {200, 13}, {400, 13}, {600, 13}, {800, 13}}), false},
      {"a tempo of zero", Spread(MusicWriter::Tempo(0), {{0, 1}}), false},
      {"a track of 2^31 - 8 ticks", LongTrack(8), true},
      {"a track of 2^31 + 2^28 ticks", LongTrack(9), false},
      // The whole file, which the synthesiser reads and copies inside the audio callback.
      {"262,144 events", OfEvents(SoundTrackCheck::MaxMidiEvents), true},
      {"one event more", OfEvents(SoundTrackCheck::MaxMidiEvents + 1), false},
      {"8 MiB less 64 bytes", WithText((8 << 20) - 64 - 41), true},
      {"8 MiB and a byte", WithText((8 << 20) - 40), false},
  };
  for (const auto& c : cases) EXPECT_EQ(MidiProblem(c.bytes).isEmpty(), c.taken) << c.what;
}
