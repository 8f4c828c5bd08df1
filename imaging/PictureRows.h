#pragma once
// Storing decoded or smoothed picture pixels: the top byte is cleared and black becomes 1,
// so that no pixel of a picture counts as transparent.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline std::uint32_t PicturePixel(std::uint32_t argb) {
  const std::uint32_t v = argb & 0xFFFFFF;
  return v ? v : 1;
}

// Runs over every decoded pixel: four at a time where the processor allows. from and to
// may be the same row.
inline void StorePictureRow(const std::uint32_t* from, std::uint32_t* to, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(0xFFFFFF), one = _mm_set1_epi32(1), zero = _mm_setzero_si128();
  for (; i + 4 <= count; i += 4) {
    const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), colour);
    const __m128i black = _mm_and_si128(_mm_cmpeq_epi32(v, zero), one);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_or_si128(v, black));
  }
#endif
  for (; i < count; ++i) to[i] = PicturePixel(from[i]);
}
