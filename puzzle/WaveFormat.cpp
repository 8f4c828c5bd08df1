#include "WaveFormat.h"

#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
int U16(const unsigned char* at) { return qFromLittleEndian<std::uint16_t>(at); }

bool Known(int encoding) {
  using E = WaveFormat::Encoding;
  return encoding == E::Pcm || encoding == E::MsAdpcm || encoding == E::Float || encoding == E::ALaw ||
         encoding == E::MuLaw || encoding == E::ImaAdpcm;
}

bool IsAdpcm(int encoding) { return encoding == WaveFormat::MsAdpcm || encoding == WaveFormat::ImaAdpcm; }

// The bits a sample of each encoding has.
bool BitsFit(int encoding, int bits) {
  switch (encoding) {
  case WaveFormat::Pcm: return bits == 8 || bits == 16 || bits == 24 || bits == 32;
  case WaveFormat::Float: return bits == 32;
  case WaveFormat::ALaw:
  case WaveFormat::MuLaw: return bits == 8;
  default: return bits == 4;
  }
}
}  // namespace

QString WaveFormat::Read(const unsigned char* body, qint64 length) {
  if (length < 16) return QStringLiteral("the format chunk is too short");
  encoding_ = U16(body);
  channels_ = U16(body + 2);
  rate_ = qFromLittleEndian<std::uint32_t>(body + 4);
  blockAlign_ = U16(body + 12);
  bits_ = U16(body + 14);
  if (channels_ == 0 || rate_ == 0 || blockAlign_ == 0 || bits_ == 0)
    return QStringLiteral("the format chunk holds a zero");
  if (encoding_ == Extensible) {
    const QString problem = ReadExtensible(body, length);
    if (!problem.isEmpty()) return problem;
  }
  if (!Known(encoding_)) return QStringLiteral("its encoding %1 is not one the mixer reads").arg(encoding_);
  if (channels_ > MaxChannels) return QStringLiteral("it has %1 channels, more than %2").arg(channels_).arg(MaxChannels);
  if (rate_ < MinRate || rate_ > MaxRate)
    return QStringLiteral("its sample rate of %1 Hz is outside %2 to %3 Hz").arg(rate_).arg(MinRate).arg(MaxRate);
  return CheckSamples(body, length);
}

// The sub-format's GUID names the encoding in its first two bytes; the rest is fixed.
QString WaveFormat::ReadExtensible(const unsigned char* body, qint64 length) {
  static const unsigned char fixed[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  if (length < 40 || U16(body + 16) < 22) return QStringLiteral("the extensible format chunk is too short");
  if (U16(body + 18) > bits_) return QStringLiteral("its valid bits exceed its sample size");
  if (std::memcmp(body + 26, fixed, sizeof fixed) != 0) return QStringLiteral("its sub-format is unknown");
  encoding_ = U16(body + 24);
  return {};
}

QString WaveFormat::CheckSamples(const unsigned char* body, qint64 length) {
  if (!BitsFit(encoding_, bits_)) return QStringLiteral("%1-bit samples do not fit its encoding").arg(bits_);
  if (!IsAdpcm(encoding_)) {
    if (blockAlign_ != channels_ * bits_ / 8) return QStringLiteral("its block size does not match its samples");
    return {};
  }
  const int header = encoding_ == MsAdpcm ? 7 : 4;
  if (encoding_ == MsAdpcm && channels_ > 2) return QStringLiteral("MS ADPCM holds at most two channels");
  if (blockAlign_ < header * channels_) return QStringLiteral("an ADPCM block is smaller than its header");
  if (length >= 20 && U16(body + 18) > AdpcmFrames()) return QStringLiteral("an ADPCM block claims more samples than it holds");
  if (encoding_ == MsAdpcm) {
    coefficients_ = length >= 22 ? std::min(U16(body + 20), 256) : 0;
    if (coefficients_ < 7 || length < 22 + 4 * coefficients_) return QStringLiteral("the MS ADPCM coefficients are missing");
  }
  return {};
}

// Each MS ADPCM block begins with a predictor per channel, an index into the coefficients.
QString WaveFormat::CheckBlocks(const unsigned char* data, qint64 length) const {
  if (encoding_ != MsAdpcm) return {};
  for (qint64 block = 0; block + 7 * channels_ <= length; block += blockAlign_)
    for (int c = 0; c < channels_; ++c)
      if (data[block + c] >= coefficients_) return QStringLiteral("an MS ADPCM block names a coefficient it lacks");
  return {};
}

// A block holds a header per channel (its first samples) and then two samples a byte.
qint64 WaveFormat::AdpcmFrames() const {
  const int header = encoding_ == MsAdpcm ? 7 : 4;
  const qint64 first = encoding_ == MsAdpcm ? 2 : 1;
  return first + qint64(blockAlign_ - header * channels_) * 2 / channels_;
}

qint64 WaveFormat::Frames(qint64 dataBytes) const {
  if (blockAlign_ <= 0) return 0;
  if (!IsAdpcm(encoding_)) return dataBytes / blockAlign_;
  return (dataBytes + blockAlign_ - 1) / blockAlign_ * AdpcmFrames();
}

int WaveFormat::DecodedBytes() const {
  if (encoding_ == Pcm && bits_ <= 16) return bits_ / 8;
  return encoding_ == Pcm || encoding_ == Float ? 4 : 2;  // 24-bit samples are widened to 32
}

qint64 WaveFormat::ConvertedBytes(qint64 frames, const AudioFormat& output) const {
  const qint64 decoded = frames * channels_ * DecodedBytes();
  if (rate_ <= 0) return decoded;
  // Samples already in the device's format are played as they are.
  if (DecodedBytes() == output.bytesPerSample && channels_ == output.channels && rate_ == output.rate) return decoded;
  const qint64 stretch = std::max<qint64>(1, (output.rate + rate_ - 1) / rate_);
  const qint64 working = frames * std::max(channels_, output.channels) * 4 * stretch;
  const qint64 result = (frames * output.rate + rate_ - 1) / rate_ * output.channels * output.bytesPerSample;
  return std::max({decoded, working, result});
}
