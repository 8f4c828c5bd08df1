#include "BmpRowConverter.h"

#include "PictureRows.h"

#include <QtEndian>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// 24-bit pixels (B, G, R) into stored pixels, four at a time where the processor allows:
// each loads 16 bytes, so the row needs BmpRowConverter::Slack bytes after it.
void Expand24(const uchar* from, std::uint32_t* to, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i lane0 = _mm_setr_epi32(0xFFFFFF, 0, 0, 0), lane1 = _mm_setr_epi32(0, 0xFFFFFF, 0, 0);
  const __m128i lane2 = _mm_setr_epi32(0, 0, 0xFFFFFF, 0), lane3 = _mm_setr_epi32(0, 0, 0, 0xFFFFFF);
  const __m128i one = _mm_set1_epi32(1), zero = _mm_setzero_si128();
  for (; i + 4 <= count; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * i));
    const __m128i low = _mm_or_si128(_mm_and_si128(v, lane0), _mm_and_si128(_mm_slli_si128(v, 1), lane1));
    const __m128i high = _mm_or_si128(_mm_and_si128(_mm_slli_si128(v, 2), lane2), _mm_and_si128(_mm_slli_si128(v, 3), lane3));
    const __m128i p = _mm_or_si128(low, high);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_or_si128(p, _mm_and_si128(_mm_cmpeq_epi32(p, zero), one)));
  }
#endif
  for (; i < count; ++i) {
    const uchar* p = from + 3 * i;
    to[i] = PicturePixel(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16);
  }
}

}  // namespace

BmpRowConverter::Channel::Channel(std::uint32_t m) : mask(m) {
  if (!mask) return;
  shift = qCountTrailingZeroBits(mask);
  bits = qPopulationCount(mask);
  const std::uint32_t top = bits >= 8 ? 255 : (1u << bits) - 1;
  for (std::uint32_t v = 0; v <= top; ++v) scaled[v] = std::uint8_t((v * 255 + top / 2) / top);
}

std::uint32_t BmpRowConverter::Channel::Of(std::uint32_t pixel) const {
  const std::uint32_t v = (pixel & mask) >> shift;
  if (bits <= 8) return scaled[v];
  const std::uint64_t top = (std::uint64_t(1) << bits) - 1;
  return std::uint32_t((v * std::uint64_t(255) + top / 2) / top);
}

BmpRowConverter::BmpRowConverter(const BmpHeader& header, const std::array<std::uint32_t, 256>& colours)
    : width(header.width),
      bitCount(header.bitCount),
      palette(colours),
      channels{Channel(header.masks[0]), Channel(header.masks[1]), Channel(header.masks[2])},
      plain32(header.masks == std::array<quint32, 3>{0xFF0000, 0xFF00, 0xFF}) {
  if (bitCount != 16) return;
  sixteenBits.resize(65536);
  for (std::uint32_t v = 0; v < 65536; ++v) sixteenBits[v] = Masked(v);
}

std::uint32_t BmpRowConverter::Masked(std::uint32_t pixel) const {
  return PicturePixel(channels[0].Of(pixel) << 16 | channels[1].Of(pixel) << 8 | channels[2].Of(pixel));
}

void BmpRowConverter::Convert(const uchar* from, std::uint32_t* to) const {
  switch (bitCount) {
    case 16:
      for (int x = 0; x < width; ++x) to[x] = sixteenBits[std::size_t(from[2 * x]) | std::size_t(from[2 * x + 1]) << 8];
      break;
    case 24: Expand24(from, to, width); break;
    case 32:
      if (plain32)
        StorePictureRow(reinterpret_cast<const std::uint32_t*>(from), to, width);
      else
        ConvertMasked32(from, to);
      break;
    default: ConvertIndexed(from, to);
  }
}

void BmpRowConverter::ConvertMasked32(const uchar* from, std::uint32_t* to) const {
  for (int x = 0; x < width; ++x) {
    std::uint32_t pixel;
    std::memcpy(&pixel, from + 4 * x, 4);
    to[x] = Masked(qFromLittleEndian(pixel));
  }
}

// The leftmost pixel is in the highest bits of a byte.
void BmpRowConverter::ConvertIndexed(const uchar* from, std::uint32_t* to) const {
  switch (bitCount) {
    case 1:
      for (int x = 0; x < width; ++x) to[x] = palette[from[x >> 3] >> (7 - (x & 7)) & 1];
      break;
    case 4:
      for (int x = 0; x < width; ++x) to[x] = palette[from[x >> 1] >> (x & 1 ? 0 : 4) & 15];
      break;
    default:
      for (int x = 0; x < width; ++x) to[x] = palette[from[x]];
  }
}
