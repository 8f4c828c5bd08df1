#include "SoundTrackCheck.h"

#include <QtEndian>
#include <cstdint>
#include <cstring>

namespace {

using Bytes = const unsigned char*;

// IFF chunk names are four printable ASCII characters; the synthesiser refuses others.
bool IsChunkName(Bytes at) {
  for (int i = 0; i < 4; ++i)
    if (at[i] < 0x20 || at[i] > 0x7E) return false;
  return true;
}

// A MIDI variable-length quantity of at most four bytes, all before end.
bool ReadQuantity(Bytes data, qint64& at, qint64 end, qint64& value) {
  value = 0;
  for (int i = 0; i < 4 && at < end; ++i) {
    const unsigned char byte = data[at++];
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// A meta event's or system-exclusive event's length and data, all inside the track.
bool SkipLengthAndData(Bytes data, qint64& at, qint64 end, qint64& length) {
  if (!ReadQuantity(data, at, end, length) || length > end - at) return false;
  at += length;
  return true;
}

// One event from at, past its delta time; running is the running status (0 = none).
QString ReadEvent(Bytes data, qint64& at, qint64 end, int& running, int& notes, bool& ended) {
  int status = data[at];
  if (status & 0x80)
    ++at;
  else if (running == 0)
    return QStringLiteral("an event has no status");
  else
    status = running;
  qint64 length = 0;
  if (status == 0xFF) {
    if (at >= end) return QStringLiteral("a meta event is cut short");
    const int type = data[at++];
    if (!SkipLengthAndData(data, at, end, length)) return QStringLiteral("a meta event runs past its track");
    running = 0;
    ended = type == 0x2F;
    if (ended && length != 0) return QStringLiteral("an End-of-Track event has a length");
  } else if (status == 0xF0 || status == 0xF7) {
    if (!SkipLengthAndData(data, at, end, length))
      return QStringLiteral("a system-exclusive event runs past its track");
    running = 0;
  } else if (status > 0xF0) {
    return QStringLiteral("a track holds a system message");
  } else {
    // Program change and channel pressure carry one data byte, the others two.
    const qint64 size = (status & 0xE0) == 0xC0 ? 1 : 2;
    if (size > end - at) return QStringLiteral("a channel event runs past its track");
    if ((status & 0xE0) == 0x80) ++notes;
    at += size;
    running = status;
  }
  return {};
}

QString ReadTrack(Bytes data, qint64 at, qint64 end, int& notes) {
  int running = 0;
  while (at < end) {
    qint64 delta = 0;
    if (!ReadQuantity(data, at, end, delta) || at >= end) return QStringLiteral("an event runs past its track");
    bool ended = false;
    const QString problem = ReadEvent(data, at, end, running, notes, ended);
    if (!problem.isEmpty() || ended) return problem;
  }
  return QStringLiteral("a track has no End-of-Track event");
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

// The format chunk's values, read by the library to convert the samples.
QString WaveFormatProblem(Bytes chunk, qint64 length, int& blockAlign) {
  if (length < 16) return QStringLiteral("the format chunk is too short");
  const int channels = qFromLittleEndian<std::uint16_t>(chunk + 2);
  const std::uint32_t rate = qFromLittleEndian<std::uint32_t>(chunk + 4);
  blockAlign = qFromLittleEndian<std::uint16_t>(chunk + 12);
  const int bits = qFromLittleEndian<std::uint16_t>(chunk + 14);
  if (channels == 0 || rate == 0 || blockAlign == 0 || bits == 0)
    return QStringLiteral("the format chunk holds a zero");
  return {};
}

}  // namespace

QString SoundTrackCheck::MidiProblem(const QByteArray& bytes) {
  const Bytes data = reinterpret_cast<Bytes>(bytes.constData());
  const qint64 size = bytes.size();
  QString problem = MidiHeaderProblem(data, size);
  if (!problem.isEmpty()) return problem;
  const int tracks = qFromBigEndian<std::uint16_t>(data + 10);
  int found = 0, notes = 0;
  // Chunks of other names between the tracks are skipped, as the synthesiser skips them.
  for (qint64 at = 14; found < tracks;) {
    if (size - at < 8) return QStringLiteral("a track is missing");
    if (!IsChunkName(data + at)) return QStringLiteral("a chunk has no name");
    const qint64 length = qFromBigEndian<std::uint32_t>(data + at + 4);
    const qint64 begin = at + 8;
    if (length > size - begin) return QStringLiteral("a chunk runs past the end of the data");
    if (std::memcmp(data + at, "MTrk", 4) == 0) {
      problem = ReadTrack(data, begin, begin + length, notes);
      if (!problem.isEmpty()) return problem;
      ++found;
    }
    at = begin + length;
  }
  return notes > 0 ? QString() : QStringLiteral("the file holds no note");
}

QString SoundTrackCheck::WaveProblem(const QByteArray& bytes) {
  const Bytes data = reinterpret_cast<Bytes>(bytes.constData());
  const qint64 size = bytes.size();
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    return QStringLiteral("the data is not a RIFF WAVE image");
  int blockAlign = 0;
  bool sound = false;
  // A few bytes too few for a chunk header at the very end are left alone, as the library does.
  for (qint64 at = 12; size - at >= 8;) {
    if (!IsChunkName(data + at)) return QStringLiteral("a chunk has no name");
    const qint64 length = qFromLittleEndian<std::uint32_t>(data + at + 4);
    const qint64 begin = at + 8;
    if (length > size - begin) return QStringLiteral("a chunk runs past the end of the data");
    if (std::memcmp(data + at, "fmt ", 4) == 0 && blockAlign == 0) {
      const QString problem = WaveFormatProblem(data + begin, length, blockAlign);
      if (!problem.isEmpty()) return problem;
    } else if (std::memcmp(data + at, "data", 4) == 0 && !sound) {
      if (blockAlign == 0) return QStringLiteral("the sound data comes before its format");
      if (length < blockAlign) return QStringLiteral("the sound data holds no sample");
      sound = true;
    }
    at = begin + length + (length & 1);  // chunks are padded to an even length
  }
  if (blockAlign == 0) return QStringLiteral("the image has no format chunk");
  return sound ? QString() : QStringLiteral("the image has no sound data");
}
