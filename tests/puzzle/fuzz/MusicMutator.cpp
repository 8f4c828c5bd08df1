#include "MusicMutator.h"

#include <QtEndian>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <vector>

namespace {

using Random = std::mt19937;

int Pick(Random& random, std::size_t count) { return count ? int(random() % count) : 0; }

std::uint32_t Any(Random& random, std::uint32_t below) { return std::uint32_t(random() % below); }

std::uint32_t OneOf(Random& random, std::initializer_list<std::uint32_t> values) {
  return values.begin()[Pick(random, values.size())];
}

QByteArray Number(std::uint32_t value, int bytes, bool bigEndian) {
  char out[4];
  if (bigEndian) qToBigEndian(value, out);
  else qToLittleEndian(value, out);
  return bigEndian ? QByteArray(out + 4 - bytes, bytes) : QByteArray(out, bytes);
}

struct Chunk {
  QByteArray name, body;
  qint64 declared = -1;  // a length other than the body's
};

std::vector<Chunk> ReadChunks(const QByteArray& bytes, qint64 at, bool bigEndian) {
  std::vector<Chunk> chunks;
  while (bytes.size() - at >= 8) {
    const char* length = bytes.constData() + at + 4;
    const qint64 size = bigEndian ? qFromBigEndian<std::uint32_t>(length) : qFromLittleEndian<std::uint32_t>(length);
    chunks.push_back({bytes.mid(at, 4), bytes.mid(at + 8, size)});
    at += 8 + size + (!bigEndian && (size & 1));
  }
  return chunks;
}

QByteArray WriteChunks(const std::vector<Chunk>& chunks, bool bigEndian) {
  QByteArray out;
  for (const Chunk& chunk : chunks) {
    const qint64 length = chunk.declared >= 0 ? chunk.declared : chunk.body.size();
    out += chunk.name + Number(std::uint32_t(length), 4, bigEndian) + chunk.body;
    if (!bigEndian && (chunk.body.size() & 1)) out += '\0';
  }
  return out;
}

// One field of the format chunk, given a value readers trip over.
void SetFormatField(QByteArray& body, Random& random) {
  static const int offsets[] = {0, 2, 4, 12, 14, 16, 18, 20, 24};
  const int field = Pick(random, std::size(offsets)), at = offsets[field];
  const std::uint32_t tag = OneOf(random, {1, 2, 3, 6, 7, 0x11, 0x50, 0x55, 0xFFFE, Any(random, 65536)});
  const std::uint32_t values[] = {
      tag,
      OneOf(random, {0, 1, 2, 3, 6, 8, 9, 255, Any(random, 65536)}),
      OneOf(random, {1, 2, 3, 100, 3999, 4000, 8000, 11025, 44100, 48000, 192000, 192001, 384000, 0x7FFFFFFF,
                     0xFFFFFFFF}),
      OneOf(random, {0, 1, 2, 3, 4, 7, 8, 256, 2048, 0xFFFF, Any(random, 65536)}),
      OneOf(random, {0, 1, 4, 8, 12, 16, 24, 32, 64, Any(random, 65536)}),
      OneOf(random, {0, 2, 22, 32, Any(random, 65536)}),
      OneOf(random, {0, 1, 2, 500, 501, 505, 0xFFFF, Any(random, 65536)}),
      OneOf(random, {0, 6, 7, 256, 0xFFFF}),
      tag,
  };
  const int bytes = at == 4 ? 4 : 2;
  if (body.size() < at + bytes) body.resize(at + bytes, '\0');
  body.replace(at, bytes, Number(values[field], bytes, false));
}

QByteArray MutateWave(const QByteArray& bytes, Random& random) {
  std::vector<Chunk> chunks = ReadChunks(bytes, 12, false);
  if (chunks.empty()) chunks.push_back({"fmt ", QByteArray(16, '\0')});
  Chunk& chunk = chunks[std::size_t(Pick(random, chunks.size()))];
  switch (Pick(random, 5)) {
  case 0:
    for (Chunk& format : chunks)
      if (format.name == "fmt ") SetFormatField(format.body, random);
    break;
  case 1:
    chunk.declared = OneOf(random, {0, 1, std::uint32_t(chunk.body.size() + 1), std::uint32_t(chunk.body.size() - 1),
                                    0x7FFFFFFF, 0xFFFFFFFF, Any(random, 65536)});
    break;
  case 2:
    chunk.body = OneOf(random, {0, 1}) ? chunk.body.left(Pick(random, chunk.body.size() + 1))
                                       : chunk.body.repeated(1 + Pick(random, 4)).left(1 << 20);
    break;
  case 3:
    chunks.insert(chunks.begin() + Pick(random, chunks.size() + 1),
                  OneOf(random, {0, 1}) ? Chunk{"fact", Number(std::uint32_t(random()), 4, false)} : chunk);
    break;
  default:
    chunks.erase(chunks.begin() + Pick(random, chunks.size()));
  }
  const QByteArray body = WriteChunks(chunks, false);
  return "RIFF" + Number(std::uint32_t(body.size() + 4), 4, false) + "WAVE" + body;
}

struct Event {
  std::uint32_t delta;
  QByteArray bytes;  // with its status
};
using Track = std::vector<Event>;

bool ReadQuantity(const unsigned char* data, qint64& at, qint64 end, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4 && at < end; ++i) {
    const unsigned char byte = data[at++];
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// A track's events as far as they can be read, each with its status written out.
Track ReadTrack(const QByteArray& body) {
  Track track;
  const auto* data = reinterpret_cast<const unsigned char*>(body.constData());
  const qint64 end = body.size();
  qint64 at = 0;
  int running = 0;
  std::uint32_t delta = 0, size = 0;
  while (ReadQuantity(data, at, end, delta) && at < end) {
    const int status = data[at] & 0x80 ? data[at++] : running;
    const qint64 start = at;
    qint64 length = (status & 0xE0) == 0xC0 ? 1 : 2;
    if (status == 0xFF) ++at;  // the meta event's type
    if (status == 0 || (status >= 0xF0 && !ReadQuantity(data, at, end, size))) break;
    if (status >= 0xF0) length = at - start + size;
    else running = status;
    if (length > end - start) break;
    track.push_back({delta, QByteArray(1, char(status)) + body.mid(start, length)});
    at = start + length;
  }
  return track;
}

QByteArray Message(int status, int first, int second) {
  QByteArray message;
  return message.append(char(status)).append(char(first)).append(char(second));
}

QByteArray WriteTrack(const Track& track) {
  QByteArray body;
  for (const Event& event : track) {
    for (int shift = 21; shift > 0; shift -= 7)
      if (event.delta >> shift) body += char(0x80 | ((event.delta >> shift) & 0x7F));
    body += char(event.delta & 0x7F);
    body += event.bytes;
  }
  return body;
}

// Many copies of one kind of message at one tick.
void Flood(Track& track, Random& random) {
  static const QByteArray exclusives[] = {
      QByteArray("\xF0\x05\x7E\x7F\x09\x01\xF7", 7), QByteArray("\xF0\x0A\x41\x10\x42\x12\x40\x00\x7F\x00\x41\xF7", 12),
      QByteArray("\xF0\x08\x43\x10\x4C\x00\x00\x7E\x00\xF7", 10), QByteArray("\xF0\x03\x43\x10\xF7", 5)};
  const int kind = Pick(random, 3);
  const std::uint32_t count = kind == 0   ? OneOf(random, {16, 256, 2048, 4096, 4097, 8192, 20000})
                              : kind == 1 ? OneOf(random, {131, 132, 2048, 4096})
                                          : OneOf(random, {1, 16, 17, 128, 129, 1000});
  const int channel = Pick(random, 17);  // 16: every channel in turn
  const int controller = int(OneOf(random, {1, 7, 11, 64, 120, 121, 123, Any(random, 128)}));
  const QByteArray exclusive = exclusives[Pick(random, std::size(exclusives))];
  Track flood;
  for (std::uint32_t i = 0; i < count; ++i) {
    const int status = int(channel == 16 ? i % 16 : std::uint32_t(channel)) | (kind == 0 ? 0x90 : 0xB0);
    const QByteArray message = kind == 2 ? exclusive
                               : kind == 0 ? Message(status, int(i / 16 % 128), 100)
                                           : Message(status, controller, int(i % 128));
    flood.push_back({0, message});
  }
  track.insert(track.begin() + Pick(random, track.size() + 1), flood.begin(), flood.end());
}

void ChangeTrack(Track& track, Random& random) {
  Event& event = track.empty() ? track.emplace_back(Event{0, QByteArray("\x90\x3C\x64", 3)})
                               : track[std::size_t(Pick(random, track.size()))];
  switch (Pick(random, 4)) {
  case 0: Flood(track, random); break;
  case 1: event.delta = OneOf(random, {0, 1, 0x7F, 0x3FFF, 0x0FFFFFFF, Any(random, 0x0FFFFFFF)}); break;
  case 2: {
    const std::uint32_t tempo = OneOf(random, {0, 1, 100, 5000, 500000, 0xFFFFFF, Any(random, 0x1000000)});
    track.insert(track.begin() + Pick(random, track.size() + 1),
                 {0, QByteArray("\xFF\x51", 2) + char(OneOf(random, {2, 3, 3})) + Number(tempo, 3, true)});
    break;
  }
  default: track.erase(track.begin() + Pick(random, track.size()));
  }
}

QByteArray MutateMidi(const QByteArray& bytes, Random& random) {
  QByteArray header = bytes.mid(8, 6).leftJustified(6, '\0');
  std::vector<Track> tracks;
  for (const Chunk& chunk : ReadChunks(bytes, 14, true))
    if (chunk.name == "MTrk") tracks.push_back(ReadTrack(chunk.body));
  if (tracks.empty()) tracks.emplace_back();
  qToBigEndian(std::uint16_t(tracks.size()), header.data() + 2);
  const int choice = Pick(random, 8);
  if (choice == 0) {
    const int at = 2 * Pick(random, 3);
    const std::uint32_t values[] = {OneOf(random, {0, 1, 2, 3}), OneOf(random, {0, 1, 2, 16, 0xFFFF}),
                                    OneOf(random, {1, 96, 480, 0x7FFF, 0xE728, Any(random, 65536)})};
    header.replace(at, 2, Number(values[at / 2], 2, true));
  } else if (choice == 1) {
    tracks.push_back(tracks[std::size_t(Pick(random, tracks.size()))]);
  } else {
    ChangeTrack(tracks[std::size_t(Pick(random, tracks.size()))], random);
  }
  std::vector<Chunk> chunks;
  for (const Track& track : tracks) chunks.push_back({"MTrk", WriteTrack(track)});
  QByteArray out = "MThd" + Number(6, 4, true) + header + WriteChunks(chunks, true);
  if (Pick(random, 10) == 0) out.truncate(Pick(random, out.size()));
  return out;
}

}  // namespace

QByteArray MusicMutator::Mutate(const QByteArray& music, std::mt19937& random) {
  if (music.startsWith("MThd")) return MutateMidi(music, random);
  if (music.startsWith("RIFF")) return MutateWave(music, random);
  return {};
}
