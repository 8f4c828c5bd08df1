#include "MulDiv.h"

#include <cstdint>
#include <limits>

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = std::int64_t(number) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  // Magnitudes in unsigned 64 bits: the product of two ints and |INT_MIN| both fit.
  const std::uint64_t p = product < 0 ? 0 - std::uint64_t(product) : std::uint64_t(product);
  const std::uint64_t d = denominator < 0 ? 0 - std::uint64_t(std::int64_t(denominator)) : std::uint64_t(denominator);
  const std::uint64_t rounded = (p + d / 2) / d;
  const std::int64_t result = negative ? -std::int64_t(rounded) : std::int64_t(rounded);
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}
