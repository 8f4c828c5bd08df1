#include "RtfTokenizer.h"

#include <algorithm>
#include <cstring>
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpecial(char c) { return c == '\\' || c == '{' || c == '}'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

#if defined(__x86_64__)
// Picture data makes up nearly all of a large note: scan it 64 bytes at a time where the
// processor can.
__attribute__((target("avx2"))) inline std::uint32_t Hits(const char* at) {
  const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  const __m256i hit = _mm256_or_si256(
      _mm256_or_si256(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('\\')), _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('{'))),
      _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('}')));
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(hit));
}

__attribute__((target("avx2"))) std::size_t FindSpecialWide(const char* data, std::size_t i, std::size_t size) {
  for (; i + 64 <= size; i += 64) {
    const std::uint64_t mask = Hits(data + i) | (std::uint64_t(Hits(data + i + 32)) << 32);
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctzll(mask));
  }
  return i;
}

// Set during static start-up, which may run before the compiler's own feature probe.
const bool kWide = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
#endif

}  // namespace

std::size_t RtfTokenizer::FindSpecial(std::size_t from) const {
  std::size_t i = from;
#if defined(__x86_64__)
  if (kWide) {
    i = FindSpecialWide(data_, i, size_);
    if (i + 64 <= size_) return i;
  }
#endif
#if defined(__SSE2__)
  const __m128i backslash = _mm_set1_epi8('\\'), open = _mm_set1_epi8('{'), close = _mm_set1_epi8('}');
  for (; i + 16 <= size_; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + i));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, backslash), _mm_cmpeq_epi8(chunk, open)),
                                     _mm_cmpeq_epi8(chunk, close));
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  while (i < size_ && !IsSpecial(data_[i])) ++i;
  return i;
}

RtfTokenizer::Token RtfTokenizer::Next() {
  Token token;
  if (pos_ >= size_) return token;
  const char c = data_[pos_];
  if (c == '{') {
    ++pos_;
    token.kind = Kind::GroupOpen;
  } else if (c == '}') {
    ++pos_;
    token.kind = Kind::GroupClose;
  } else if (c == '\\') {
    token = ReadControl();
  } else {
    const std::size_t end = FindSpecial(pos_);
    token.kind = Kind::Text;
    token.word = std::string_view(data_ + pos_, end - pos_);
    pos_ = end;
  }
  return token;
}

RtfTokenizer::Token RtfTokenizer::ReadControl() {
  Token token;
  ++pos_;  // the backslash
  if (pos_ >= size_) return token;
  const char c = data_[pos_];
  if (!IsLetter(c)) {
    ++pos_;
    if (c == '\'') {
      int value = 0, digits = 0;
      while (digits < 2 && pos_ < size_ && HexValue(data_[pos_]) >= 0) value = value * 16 + HexValue(data_[pos_++]), ++digits;
      if (digits == 0) return Next();  // "\'" with no digit means nothing
      token.kind = Kind::Hex;
      token.hex = static_cast<unsigned char>(value);
      return token;
    }
    token.kind = Kind::Symbol;
    token.symbol = c;
    return token;
  }
  const std::size_t start = pos_;
  while (pos_ < size_ && IsLetter(data_[pos_])) ++pos_;
  token.kind = Kind::Word;
  if (pos_ - start <= static_cast<std::size_t>(MaxWordLetters)) token.word = std::string_view(data_ + start, pos_ - start);
  bool negative = false;
  if (pos_ + 1 < size_ && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < size_ && IsDigit(data_[pos_])) {
    std::int64_t value = 0;
    while (pos_ < size_ && IsDigit(data_[pos_])) {
      value = std::min<std::int64_t>(value * 10 + (data_[pos_] - '0'), std::int64_t(1) << 32);
      ++pos_;
    }
    if (negative) value = -value;
    token.param = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    token.hasParam = true;
  }
  if (pos_ < size_ && data_[pos_] == ' ') ++pos_;
  if (token.word == "bin") {
    const std::int64_t count = token.hasParam ? std::max<std::int32_t>(token.param, 0) : 0;
    if (static_cast<std::uint64_t>(count) > size_ - pos_) {
      truncated_ = true;
      pos_ = size_;
      return Token{};
    }
    token.kind = Kind::Binary;
    token.word = std::string_view(data_ + pos_, static_cast<std::size_t>(count));
    pos_ += static_cast<std::size_t>(count);
  }
  return token;
}

bool RtfTokenizer::SkipGroup() {
  std::int64_t depth = 1;
  while (pos_ < size_) {
    pos_ = FindSpecial(pos_);
    if (pos_ >= size_) break;
    const char c = data_[pos_];
    if (c == '{') {
      ++depth;
      ++pos_;
    } else if (c == '}') {
      ++pos_;
      if (--depth == 0) return true;
    } else if (pos_ + 1 < size_ && IsLetter(data_[pos_ + 1])) {
      const Token token = ReadControl();  // a \bin block may hold braces
      if (truncated_) return false;
      (void)token;
    } else {
      pos_ += 2;  // an escaped character
    }
  }
  pos_ = std::min(pos_, size_);
  return false;
}

bool RtfTokenizer::SkipIf(std::string_view text) {
  std::size_t at = pos_;
  while (at < size_ && (data_[at] == '\r' || data_[at] == '\n' || data_[at] == ' ')) ++at;
  if (size_ - at < text.size() || std::memcmp(data_ + at, text.data(), text.size()) != 0) return false;
  pos_ = at + text.size();
  return true;
}
