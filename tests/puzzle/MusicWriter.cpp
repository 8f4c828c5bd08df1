#include "MusicWriter.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdint>

namespace {

void Put16(QByteArray& to, int value) {
  char bytes[2];
  qToLittleEndian(std::uint16_t(value), bytes);
  to.append(bytes, 2);
}

void Put32(QByteArray& to, std::uint32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  to.append(bytes, 4);
}

QByteArray RiffChunk(const char* name, const QByteArray& body) {
  QByteArray chunk(name, 4);
  Put32(chunk, std::uint32_t(body.size()));
  chunk += body;
  if (body.size() & 1) chunk += '\0';
  return chunk;
}

bool IsAdpcm(int encoding) { return encoding == 2 || encoding == 0x11; }

// A tone of 440 Hz in 16 bits.
int Sample(int frame, int rate) { return int(9000 * std::sin(frame * 2 * std::numbers::pi * 440 / rate)); }

void PutSample(QByteArray& to, int encoding, int bits, int value) {
  if (encoding == 3) {
    const float real = float(value) / 32768.0f;
    to.append(reinterpret_cast<const char*>(&real), 4);  // little-endian machines only
  } else if (encoding != 1) {
    to.append(char(value >> 8));  // any byte is an A-law or u-law code
  } else if (bits == 8) {
    to.append(char((value >> 8) + 128));
  } else {
    const std::int32_t wide = std::int32_t(value) << (bits - 16);
    to.append(reinterpret_cast<const char*>(&wide), bits / 8);
  }
}

// Per block: a header per channel, then nibbles of a simple pattern (any nibble decodes).
QByteArray AdpcmBlock(const MusicWriter::Wave& wave, int blockAlign) {
  QByteArray block;
  if (wave.encoding == 0x11) {
    for (int c = 0; c < wave.channels; ++c) Put32(block, 0);  // sample 0, step index 0
  } else {
    block.append(wave.channels, '\0');  // predictor 0
    for (int c = 0; c < wave.channels; ++c) Put16(block, 16);  // delta
    block.append(wave.channels * 4, '\0');  // the first two samples
  }
  while (block.size() < blockAlign) block.append(char(0x17 + block.size() % 64));
  return block;
}

struct Layout {
  int blockAlign, framesPerBlock;
};

Layout LayoutOf(const MusicWriter::Wave& wave) {
  if (wave.encoding == 0x11) return {256 * wave.channels, 1 + 252 * 2};
  if (wave.encoding == 2) return {256 * wave.channels, 2 + 249 * 2};
  return {wave.channels * wave.bits / 8, 1};
}

QByteArray FormatChunk(const MusicWriter::Wave& wave, const Layout& layout) {
  QByteArray body;
  Put16(body, wave.extensible ? 0xFFFE : wave.encoding);
  Put16(body, wave.channels);
  Put32(body, std::uint32_t(wave.rate));
  Put32(body, std::uint32_t(qint64(wave.rate) * layout.blockAlign / layout.framesPerBlock));
  Put16(body, layout.blockAlign);
  Put16(body, wave.bits);
  if (wave.extensible) {
    Put16(body, 22);
    Put16(body, wave.bits);
    Put32(body, (1u << wave.channels) - 1);
    Put16(body, wave.encoding);
    body.append("\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 14);
  } else if (wave.encoding == 0x11) {
    Put16(body, 2);
    Put16(body, layout.framesPerBlock);
  } else if (wave.encoding == 2) {
    static const int coefficients[] = {256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232};
    Put16(body, 32);
    Put16(body, layout.framesPerBlock);
    Put16(body, 7);
    for (const int value : coefficients) Put16(body, value);
  }
  return RiffChunk("fmt ", body);
}

void PutQuantity(QByteArray& to, qint64 value) {
  char bytes[5];
  int count = 0;
  bytes[count++] = char(value & 0x7F);
  while (value >>= 7) bytes[count++] = char(0x80 | (value & 0x7F));
  while (count) to.append(bytes[--count]);
}

QByteArray BigEndianChunk(const char* name, const QByteArray& body) {
  char length[4];
  qToBigEndian(std::uint32_t(body.size()), length);
  return QByteArray(name, 4) + QByteArray(length, 4) + body;
}

QByteArray Meta(int type, const QByteArray& data) {
  QByteArray event;
  event.append(char(0xFF)).append(char(type));
  PutQuantity(event, data.size());
  return event + data;
}

QByteArray Exclusive(const QByteArray& payload) {
  QByteArray event(1, char(0xF0));
  PutQuantity(event, payload.size() + 1);
  return event + payload + char(0xF7);
}

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (const int value : values) bytes.append(char(value));
  return bytes;
}

void Strike(MusicWriter::Track& track, qint64 tick, qint64 length, int channel, int key, int velocity) {
  track.push_back({tick, MusicWriter::Note(channel, key, velocity)});
  track.push_back({tick + length, MusicWriter::Note(channel, key, 0)});
}

// Bank, program, volume, pan, reverb, chorus and a pitch-bend range of two semitones.
void SetUpChannel(MusicWriter::Track& track, int channel, int program) {
  for (const auto& [number, value] : std::initializer_list<std::pair<int, int>>{
           {0, 0}, {32, 0}, {7, 100}, {10, 16 + channel * 6}, {91, 40}, {93, 20}, {101, 0}, {100, 0}, {6, 2}, {38, 0}})
    track.push_back({0, MusicWriter::Control(channel, number, value)});
  track.push_back({0, Bytes({0xC0 | channel, program})});
}

}  // namespace

QByteArray MusicWriter::WaveImage(const Wave& wave) {
  const Layout layout = LayoutOf(wave);
  QByteArray data;
  if (IsAdpcm(wave.encoding)) {
    for (int frame = 0; frame < wave.frames; frame += layout.framesPerBlock) data += AdpcmBlock(wave, layout.blockAlign);
  } else {
    for (int frame = 0; frame < wave.frames; ++frame)
      for (int c = 0; c < wave.channels; ++c) PutSample(data, wave.encoding, wave.bits, Sample(frame + c * 7, wave.rate));
  }
  QByteArray chunks = FormatChunk(wave, layout);
  if (wave.encoding != 1) {
    QByteArray fact;
    Put32(fact, std::uint32_t(data.size() / layout.blockAlign * layout.framesPerBlock));
    chunks += RiffChunk("fact", fact);
  }
  chunks += RiffChunk("data", data);
  QByteArray image("RIFF");
  Put32(image, std::uint32_t(chunks.size() + 4));
  return image + "WAVE" + chunks;
}

QByteArray MusicWriter::Midi(int format, int division, std::vector<Track> tracks) {
  QByteArray file("MThd\0\0\0\6", 8);
  char header[6];
  qToBigEndian(std::uint16_t(format), header);
  qToBigEndian(std::uint16_t(tracks.size()), header + 2);
  qToBigEndian(std::uint16_t(division), header + 4);
  file.append(header, 6);
  for (Track& track : tracks) {
    std::stable_sort(track.begin(), track.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
    QByteArray body;
    qint64 last = 0;
    for (const Event& event : track) {
      PutQuantity(body, event.tick - last);
      body += event.bytes;
      last = event.tick;
    }
    body += Bytes({0, 0xFF, 0x2F, 0});
    file += BigEndianChunk("MTrk", body);
  }
  return file;
}

QByteArray MusicWriter::Note(int channel, int key, int velocity) {
  return Bytes({(velocity ? 0x90 : 0x80) | channel, key, velocity});
}

QByteArray MusicWriter::Control(int channel, int number, int value) { return Bytes({0xB0 | channel, number, value}); }

QByteArray MusicWriter::Tempo(int micros) { return Meta(0x51, Bytes({micros >> 16, (micros >> 8) & 0xFF, micros & 0xFF})); }

QByteArray MusicWriter::GmReset() { return Exclusive(Bytes({0x7E, 0x7F, 0x09, 0x01})); }

QByteArray MusicWriter::ChordsAtOneTick(int notes) {
  Track track;
  for (int i = 0; i < notes; ++i) Strike(track, 0, 96, i % 16, (i / 16) % 128, 100);
  return Midi(0, 96, {track});
}

QByteArray MusicWriter::Orchestral(int seconds) {
  const int beat = 480, beats = seconds * 2;  // 120 beats a minute
  Track conductor{{0, Tempo(500000)}, {0, Meta(0x58, Bytes({4, 2, 24, 8}))}};
  Track setUp{{0, GmReset()}, {0, Exclusive(Bytes({0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41}))}};
  for (int part = 0; part < 16; ++part) {
    setUp.push_back({0, Exclusive(Bytes({0x41, 0x10, 0x42, 0x12, 0x40, 0x10 | part, 0x15, part == 9 ? 1 : 0, 0}))});
    SetUpChannel(setUp, part, part * 5 % 128);
  }
  std::vector<Track> tracks{conductor, setUp};
  static const int chord[] = {0, 4, 7, 12, 16, 19};
  for (int part = 0; part < 16; ++part) {
    Track track;
    for (int b = 0; b < beats; ++b) {
      const int root = 36 + part % 8 * 5 + (b % 4) * 2;
      if (part == 9) {  // a timpani roll in thirty-second notes
        for (int n = 0; n < 8; ++n) Strike(track, b * beat + n * beat / 8, beat / 16, 9, 47, 60 + n * 8);
      } else if (part >= 12) {  // runs in sixteenths
        for (int n = 0; n < 4; ++n) Strike(track, b * beat + n * beat / 4, beat / 4, part, root + 12 + n * 2, 90);
      } else {
        for (const int step : chord) Strike(track, b * beat, beat, part, root + step, 80 + b % 40);
      }
      // Expression swells every 20 ticks, vibrato every 10 on the leading parts.
      for (int t = 0; t < beat && part < 5; t += 20) track.push_back({b * beat + t, Control(part, 11, 64 + (t / 20) * 2)});
      for (int t = 0; t < beat && part < 2; t += 10) track.push_back({b * beat + t, Bytes({0xE0 | part, 0, 64 + t % 8})});
    }
    tracks.push_back(track);
  }
  return Midi(1, beat, tracks);
}

QByteArray MusicWriter::PianoLike(int seconds) {
  const int beat = 960, beats = seconds * 8 / 3;  // 160 beats a minute
  Track track{{0, Tempo(375000)}, {0, Bytes({0xC0, 0})}};
  for (int b = 0; b < beats; ++b) {
    for (int n = 0; n < 8; ++n) {
      const qint64 at = b * beat + n * beat / 8;
      Strike(track, at, beat / 8, 0, 60 + (b * 8 + n) % 24, 70 + n * 4);  // the right hand
      Strike(track, at, beat / 8, 0, 36 + (b * 8 + n * 3) % 24, 60 + n * 3);  // the left
    }
    if (b % 4 == 0) {
      for (int k = 0; k < 10; ++k) Strike(track, b * beat, 4 * beat - 10, 0, 40 + k * 5, 110);
      track.push_back({b * beat, Control(0, 64, 127)});
      track.push_back({b * beat + 4 * beat - 20, Control(0, 64, 0)});
    }
  }
  return Midi(0, beat, {track});
}

std::vector<MusicWriter::Named> MusicWriter::Seeds() {
  // encoding, channels, rate, bits, extensible
  static const int waves[][5] = {
      {1, 1, 8000, 8, 0},     {1, 2, 44100, 16, 0},  {1, 3, 96000, 24, 0},   {1, 4, 192000, 32, 0},
      {1, 5, 32000, 16, 0},   {1, 6, 48000, 24, 0},  {1, 7, 22050, 16, 0},   {1, 8, 88200, 32, 0},
      {3, 1, 11025, 32, 0},   {3, 2, 48000, 32, 0},  {3, 8, 192000, 32, 0},  {6, 1, 8000, 8, 0},
      {6, 2, 16000, 8, 0},    {7, 1, 8000, 8, 0},    {7, 2, 11025, 8, 0},    {0x11, 1, 22050, 4, 0},
      {0x11, 2, 44100, 4, 0}, {0x11, 4, 48000, 4, 0}, {2, 1, 11025, 4, 0},   {2, 2, 22050, 4, 0},
      {1, 6, 48000, 16, 1},   {3, 2, 96000, 32, 1},  {1, 8, 176400, 24, 1},  {7, 1, 8000, 8, 1},
  };
  static const char* const names[] = {"", "pcm", "msadpcm", "float", "", "", "alaw", "mulaw"};
  std::vector<Named> seeds;
  for (const auto& w : waves) {
    const Wave wave{w[0], w[1], w[2], w[3], 1024, w[4] != 0};
    const QString encoding = w[0] == 0x11 ? QStringLiteral("imaadpcm") : QLatin1String(names[w[0]]);
    seeds.push_back({QStringLiteral("%1%2-%3bit-%4ch-%5hz.wav")
                         .arg(w[4] ? QStringLiteral("extensible-") : QString(), encoding)
                         .arg(w[3]).arg(w[1]).arg(w[2]),
                     WaveImage(wave)});
  }
  Track tempo{{0, Tempo(400000)}};
  std::vector<Track> parts{tempo};
  for (int channel = 0; channel < 16; ++channel) {
    Track part;
    for (int b = 0; b < 16; ++b)
      for (int k = 0; k < 8; ++k) Strike(part, b * 96, 96, channel, 40 + k * 4 + b % 5, 90);
    parts.push_back(part);
  }
  Track first, second;
  for (int b = 0; b < 16; ++b) {
    for (int k = 0; k < 6; ++k) Strike(first, b * 48, 48, 0, 60 + k * 3, 100);
    for (int k = 0; k < 6; ++k) Strike(second, b * 48, 48, 1, 48 + k * 3, 100);
  }
  seeds.push_back({QStringLiteral("format0-chords-of-64.mid"), ChordsAtOneTick(64)});
  seeds.push_back({QStringLiteral("format0-2048-keys-at-one-tick.mid"), ChordsAtOneTick(2048)});
  seeds.push_back({QStringLiteral("format1-sixteen-parts-of-chords.mid"), Midi(1, 96, parts)});
  seeds.push_back({QStringLiteral("format2-two-sequences.mid"), Midi(2, 96, {first, second})});
  seeds.push_back({QStringLiteral("orchestral.mid"), Orchestral(6)});
  seeds.push_back({QStringLiteral("piano.mid"), PianoLike(6)});
  return seeds;
}
