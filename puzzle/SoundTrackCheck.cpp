#include "SoundTrackCheck.h"

#include "MidiDensity.h"
#include "MidiTrackReader.h"
#include "WaveFormat.h"

#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace {

using Bytes = const unsigned char*;
using Span = std::pair<qint64, qint64>;  // [begin, end) of a track's events

// IFF chunk names are four printable ASCII characters; the synthesiser refuses others.
bool IsChunkName(Bytes at) {
  for (int i = 0; i < 4; ++i)
    if (at[i] < 0x20 || at[i] > 0x7E) return false;
  return true;
}

QString MidiHeaderProblem(Bytes data, qint64 size) {
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return QStringLiteral("the header chunk is not \"MThd\"");
  if (qFromBigEndian<std::uint32_t>(data + 4) != 6) return QStringLiteral("the header chunk is not 6 bytes long");
  if (qFromBigEndian<std::uint16_t>(data + 8) > 2) return QStringLiteral("the file format is unknown");
  if (qFromBigEndian<std::uint16_t>(data + 10) == 0) return QStringLiteral("the file has no tracks");
  const std::uint16_t division = qFromBigEndian<std::uint16_t>(data + 12);
  if (division & 0x8000) return QStringLiteral("the file uses SMPTE timing");
  if (division == 0) return QStringLiteral("the file has no ticks per quarter note");
  return {};
}

// The track chunks the header promises; chunks of other names between them are skipped, as the
// synthesiser skips them.
QString FindTracks(Bytes data, qint64 size, std::vector<Span>& tracks) {
  const int count = qFromBigEndian<std::uint16_t>(data + 10);
  for (qint64 at = 14; int(tracks.size()) < count;) {
    if (size - at < 8) return QStringLiteral("a track is missing");
    if (!IsChunkName(data + at)) return QStringLiteral("a chunk has no name");
    const qint64 length = qFromBigEndian<std::uint32_t>(data + at + 4);
    const qint64 begin = at + 8;
    if (length > size - begin) return QStringLiteral("a chunk runs past the end of the data");
    if (std::memcmp(data + at, "MTrk", 4) == 0) tracks.emplace_back(begin, begin + length);
    at = begin + length;
  }
  return {};
}

// The General MIDI, GS and XG messages on which the synthesiser resets all its channels.
bool IsReset(Bytes payload, qint64 length) {
  const auto starts = [&](std::initializer_list<int> prefix) {
    if (length < qint64(prefix.size())) return false;
    int i = 0;
    for (const int byte : prefix) {
      if (byte >= 0 && payload[i] != byte) return false;
      ++i;
    }
    return true;
  };
  // -1 stands for the device number.
  return starts({0x7E, -1, 0x09, 0x01}) || starts({0x7E, -1, 0x09, 0x02}) || starts({0x7E, -1, 0x09, 0x03}) ||
         starts({0x41, -1, 0x42, 0x12, 0x40, 0x00, 0x7F}) || starts({0x43, -1, 0x4C, 0x00, 0x00, 0x7E});
}

// Ticks to microseconds, by the tempo changes met so far in any track, as the synthesiser
// times them (120 beats a minute until the first).
class MidiClock {
public:
  explicit MidiClock(int division) : division_(division) {}
  qint64 MicrosAt(qint64 tick) const { return baseMicros_ + (tick - baseTick_) * tempo_ / division_; }
  void SetTempo(qint64 tick, qint64 tempo) {
    baseMicros_ = MicrosAt(tick);
    baseTick_ = tick;
    tempo_ = tempo;
  }

private:
  qint64 division_, baseTick_ = 0, baseMicros_ = 0, tempo_ = 500000;
};

// One event, counted where the synthesiser will take it.
QString Count(Bytes data, const MidiTrackReader::Event& event, qint64 tick, MidiClock& clock,
              MidiDensity& density, int& notes) {
  const qint64 micros = clock.MicrosAt(tick);
  const int status = event.status;
  if (status < 0xF0) {
    const int type = status & 0xF0;
    if (type == 0x80 || type == 0x90) ++notes;
    density.Add(micros, type <= 0xA0 ? MidiDensity::Note : MidiDensity::Control, status & 15);
  } else if (status == 0xF0 || status == 0xF7) {
    const bool reset = status == 0xF0 && IsReset(data + event.dataAt, event.length);
    density.Add(micros, reset ? MidiDensity::Reset : MidiDensity::Exclusive, 0);
  } else if (event.metaType == 0x51 && event.length == 3) {
    // A tempo of another length fails in the synthesiser as it plays, which stops the loop.
    const qint64 tempo = (data[event.dataAt] << 16) | (data[event.dataAt + 1] << 8) | data[event.dataAt + 2];
    if (tempo == 0) return QStringLiteral("it sets a tempo of zero");
    clock.SetTempo(tick, tempo);
  }
  return density.Problem();
}

// Every track's events in the order the synthesiser plays them: by tick, across the tracks.
QString ReadTracks(Bytes data, const std::vector<Span>& tracks, int division) {
  std::vector<MidiTrackReader> readers;
  readers.reserve(tracks.size());
  using Due = std::pair<qint64, int>;  // tick, track
  std::priority_queue<Due, std::vector<Due>, std::greater<Due>> due;
  for (const Span& track : tracks) {
    readers.emplace_back(data, track.first, track.second);
    const QString problem = readers.back().ReadDelta();
    if (!problem.isEmpty()) return problem;
    due.emplace(readers.back().Tick(), int(readers.size()) - 1);
  }
  MidiClock clock(division);
  MidiDensity density;
  qint64 events = 0;
  int notes = 0;
  while (!due.empty()) {
    const int track = due.top().second;
    due.pop();
    MidiTrackReader& reader = readers[std::size_t(track)];
    MidiTrackReader::Event event;
    QString problem = reader.ReadEvent(event);
    if (problem.isEmpty() && ++events > SoundTrackCheck::MaxMidiEvents)
      problem = QStringLiteral("it holds more than %1 events").arg(SoundTrackCheck::MaxMidiEvents);
    if (problem.isEmpty()) problem = Count(data, event, reader.Tick(), clock, density, notes);
    if (problem.isEmpty() && !event.Ends()) problem = reader.ReadDelta();
    if (!problem.isEmpty()) return problem;
    if (!event.Ends()) due.emplace(reader.Tick(), track);
  }
  return notes > 0 ? QString() : QStringLiteral("the file holds no note");
}

}  // namespace

QString SoundTrackCheck::MidiProblem(const QByteArray& bytes) {
  const Bytes data = reinterpret_cast<Bytes>(bytes.constData());
  const qint64 size = bytes.size();
  if (size > MaxMidiBytes) return QStringLiteral("the file is larger than %1 MB").arg(MaxMidiBytes >> 20);
  QString problem = MidiHeaderProblem(data, size);
  std::vector<Span> tracks;
  if (problem.isEmpty()) problem = FindTracks(data, size, tracks);
  if (!problem.isEmpty()) return problem;
  return ReadTracks(data, tracks, qFromBigEndian<std::uint16_t>(data + 12));
}

QString SoundTrackCheck::WaveProblem(const QByteArray& bytes, const AudioFormat& output) {
  const Bytes data = reinterpret_cast<Bytes>(bytes.constData());
  const qint64 size = bytes.size();
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return QStringLiteral("the data is not a RIFF WAVE image");
  WaveFormat format;
  bool formatRead = false;
  qint64 sound = -1;  // bytes of the first data chunk
  // A few bytes too few for a chunk header at the very end are left alone, as the library does.
  for (qint64 at = 12; size - at >= 8;) {
    if (!IsChunkName(data + at)) return QStringLiteral("a chunk has no name");
    const qint64 length = qFromLittleEndian<std::uint32_t>(data + at + 4);
    const qint64 begin = at + 8;
    if (length > size - begin) return QStringLiteral("a chunk runs past the end of the data");
    if (std::memcmp(data + at, "fmt ", 4) == 0 && !formatRead) {
      const QString problem = format.Read(data + begin, length);
      if (!problem.isEmpty()) return problem;
      formatRead = true;
    } else if (std::memcmp(data + at, "data", 4) == 0 && sound < 0) {
      if (!formatRead) return QStringLiteral("the sound data comes before its format");
      if (length < format.BlockAlign()) return QStringLiteral("the sound data holds no sample");
      const QString problem = format.CheckBlocks(data + begin, length);
      if (!problem.isEmpty()) return problem;
      sound = length;
    }
    at = begin + length + (length & 1);  // chunks are padded to an even length
  }
  if (!formatRead) return QStringLiteral("the image has no format chunk");
  if (sound < 0) return QStringLiteral("the image has no sound data");
  const qint64 converted = format.ConvertedBytes(format.Frames(sound), output);
  if (converted > WaveFormat::MaxConvertedBytes)
    return QStringLiteral("converted for the sound device it would take %1 MB, more than %2 MB")
        .arg((converted + (1 << 20) - 1) >> 20)
        .arg(WaveFormat::MaxConvertedBytes >> 20);
  return {};
}

QString SoundTrackCheck::Refusal(const QByteArray& data, bool midi, const AudioFormat& output) {
  const QString problem = midi ? MidiProblem(data) : WaveProblem(data, output);
  if (problem.isEmpty()) return {};
  return (midi ? QStringLiteral("Sound track: damaged MIDI data: ") : QStringLiteral("Sound track: damaged WAVE data: ")) +
         problem + QLatin1Char('.');
}
