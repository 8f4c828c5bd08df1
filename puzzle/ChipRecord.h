#pragma once
// The saved-game records of a piece (24 bytes) and of a group (16 bytes), little-endian, as
// the puzzle file stores them behind a type byte and a length byte.

#include <QByteArray>

#include <cstdint>

class QIODevice;

struct ChipRecord {
  static constexpr int Type = 15;
  static constexpr int Size = 24;

  float centreX = 0;
  float centreY = 0;
  std::uint16_t groupId = 0;  // 0: a loose piece
  std::uint16_t pieceId = 0;
  std::int16_t groupOffsetX = 0;  // from the group box's left and top; 0 when loose
  std::int16_t groupOffsetY = 0;
  std::uint16_t rotation = 0;
  std::uint8_t tableIndex = 0;
  std::uint16_t tableWidth = 0xFFFF;  // as the piece lies
  std::uint16_t tableHeight = 0xFFFF;

  QByteArray Bytes() const;
  // Missing bytes keep the defaults.
  static ChipRecord FromBytes(const QByteArray& bytes);
};

struct ChipGroupRecord {
  static constexpr int Type = 16;
  static constexpr int Size = 16;

  float centreX = 0;
  float centreY = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t id = 0;

  QByteArray Bytes() const;
  static ChipGroupRecord FromBytes(const QByteArray& bytes);
};

// Writes type, length and the value bytes.
void WriteRecordBytes(QIODevice& stream, int type, const QByteArray& value);
