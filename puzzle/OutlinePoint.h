#pragma once
// One point of a piece's shadow outline: where the shadow falls next to the piece, in table
// orientation, in a frame whose origin is numbered (min x, first row) of the piece's mask.

#include <cstdint>

struct OutlinePoint {
  std::uint16_t x;
  std::uint16_t y;
  std::uint16_t restingLength;   // the shadow of a piece lying on the table (at most the cap)
  std::uint16_t carriedLength;   // the shadow of a carried piece
};
