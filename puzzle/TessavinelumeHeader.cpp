#include "TessavinelumeHeader.h"

#include <QtEndian>

#include <cstring>

static_assert(sizeof(TessavinelumeHeader::Name) - 1 + 1 + sizeof(TessavinelumeHeader::SignatureText) - 1 ==
              TessavinelumeHeader::SignatureSize);
static_assert(sizeof(TessavinelumeHeader::Maker) - 1 == TessavinelumeHeader::MakerSize);

namespace {
constexpr int NameSize = sizeof(TessavinelumeHeader::Name) - 1;

template <typename T>
T At(const unsigned char* bytes, int offset) {
  return qFromLittleEndian<T>(bytes + offset);
}

template <typename T>
void Put(QByteArray& bytes, int offset, T value) {
  qToLittleEndian(value, reinterpret_cast<unsigned char*>(bytes.data()) + offset);
}
}  // namespace

bool TessavinelumeHeader::Recognised(const QByteArray& first) {
  if (first.size() < MakerAt + MakerSize) return false;
  const auto form = static_cast<unsigned char>(first[NameSize]);
  return first.startsWith(Name) && (form == Forms[0] || form == Forms[1]) &&
         std::memcmp(first.constData() + NameSize + 1, SignatureText, SignatureSize - NameSize - 1) == 0 &&
         std::memcmp(first.constData() + MakerAt, Maker, MakerSize) == 0;
}

TessavinelumeHeader TessavinelumeHeader::Parse(const unsigned char* bytes) {
  TessavinelumeHeader h;
  h.version = At<std::uint16_t>(bytes, 68);
  h.trackFormat = At<std::uint16_t>(bytes, 70);
  h.width = At<std::uint16_t>(bytes, 72);
  h.height = At<std::uint16_t>(bytes, 74);
  h.pictureType = At<std::uint16_t>(bytes, 76);
  h.pictureOffset = At<std::uint32_t>(bytes, 78);
  h.pictureSize = At<std::uint32_t>(bytes, 82);
  h.noteOffset = At<std::uint32_t>(bytes, 86);
  h.noteSize = At<std::uint32_t>(bytes, 90);
  h.clipCount = At<std::uint16_t>(bytes, 94);
  h.firstClip = At<std::uint32_t>(bytes, 96);
  h.trackCount = At<std::uint16_t>(bytes, 100);
  h.trackTable = At<std::uint32_t>(bytes, 102);
  h.lightBevel = At<std::uint16_t>(bytes, 114);
  h.totalFrames = At<std::uint32_t>(bytes, 116);
  return h;
}

QByteArray TessavinelumeHeader::Bytes(unsigned char form) const {
  QByteArray bytes(Size, '\0');
  std::memcpy(bytes.data(), Name, NameSize);
  bytes[NameSize] = char(form);
  std::memcpy(bytes.data() + NameSize + 1, SignatureText, SignatureSize - NameSize - 1);
  std::memcpy(bytes.data() + MakerAt, Maker, MakerSize);
  Put(bytes, 68, version);
  Put(bytes, 70, trackFormat);
  Put(bytes, 72, width);
  Put(bytes, 74, height);
  Put(bytes, 76, pictureType);
  Put(bytes, 78, pictureOffset);
  Put(bytes, 82, pictureSize);
  Put(bytes, 86, noteOffset);
  Put(bytes, 90, noteSize);
  Put(bytes, 94, clipCount);
  Put(bytes, 96, firstClip);
  Put(bytes, 100, trackCount);
  Put(bytes, 102, trackTable);
  Put(bytes, 114, lightBevel);
  Put(bytes, 116, totalFrames);
  return bytes;
}
