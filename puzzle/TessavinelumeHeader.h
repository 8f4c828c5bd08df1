#pragma once
// The first 120 bytes of an animated-puzzle file (little-endian): the signature, the maker
// field and the header values. The reader and the test writers share this one layout.

#include <QByteArray>
#include <cstdint>

struct TessavinelumeHeader {
  static constexpr int Size = 120;
  static constexpr int SignatureSize = 36;
  static constexpr int MakerAt = 38;  // bytes 36 and 37 are not compared
  static constexpr int MakerSize = 30;
  static constexpr int ValuesAt = 68;
  // The signature is the name, one of two form bytes, then our fixed 22-byte text.
  static constexpr char Name[] = "Tessavinelume";
  static constexpr unsigned char Forms[2] = {0x99, 0xAE};
  static constexpr char SignatureText[] = " Animated Puzzle File ";
  static constexpr char Maker[] = " Brindlequarrowmelstone L.L.C.";

  std::uint16_t version = 0;
  std::uint16_t trackFormat = 0;  // below 2: old sound-track entries
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t pictureType = 0;  // 2 BMP, 3 JPEG
  std::uint32_t pictureOffset = 0;
  std::uint32_t pictureSize = 0;
  std::uint32_t noteOffset = 0;
  std::uint32_t noteSize = 0;
  std::uint16_t clipCount = 0;
  std::uint32_t firstClip = 0;
  std::uint16_t trackCount = 0;
  std::uint32_t trackTable = 0;
  std::uint16_t lightBevel = 0;
  std::uint32_t totalFrames = 0;

  // The signature (either form) and maker field of a file's first bytes, which may be
  // fewer than needed.
  static bool Recognised(const QByteArray& first);
  // Values from a whole 120-byte header.
  static TessavinelumeHeader Parse(const unsigned char* bytes);
  // The whole 120 bytes, signature in the given form, bytes 36, 37 and 106-113 zero.
  QByteArray Bytes(unsigned char form = Forms[0]) const;
};
