#pragma once
// Turns one uncompressed BMP row into picture pixels: palette indices of 1, 4 and 8 bits,
// 16 bits through its masks, 24 bits, and 32 bits plain or through masks. Mask values are
// scaled to the full 0..255 range (a 5-bit 31 is 255). Black is stored as 1.

#include "BmpHeader.h"

#include <array>
#include <cstdint>
#include <vector>

class BmpRowConverter {
public:
  // Bytes a row buffer needs past the row's own: the wide loads read a little beyond it.
  static constexpr int Slack = 16;

  // palette: the stored value of every index (black past the file's own entries).
  BmpRowConverter(const BmpHeader& header, const std::array<std::uint32_t, 256>& palette);
  void Convert(const uchar* from, std::uint32_t* to) const;

private:
  // One colour channel of a masked pixel.
  struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    std::array<std::uint8_t, 256> scaled{};  // for up to 8 bits
    explicit Channel(std::uint32_t m = 0);
    std::uint32_t Of(std::uint32_t pixel) const;
  };
  std::uint32_t Masked(std::uint32_t pixel) const;
  void ConvertIndexed(const uchar* from, std::uint32_t* to) const;
  void ConvertMasked32(const uchar* from, std::uint32_t* to) const;

  int width;
  int bitCount;
  const std::array<std::uint32_t, 256>& palette;
  std::array<Channel, 3> channels;
  bool plain32;                               // 32 bits as B, G, R, unused
  std::vector<std::uint32_t> sixteenBits;     // every 16-bit value's stored pixel
};
