#pragma once
// Pixel values of the cutting die (0x00RRGGBB).

#include <cstdint>

namespace DieColour {
inline constexpr std::uint32_t Area = 0xFFFFFF;  // white: inside the pieces
inline constexpr std::uint32_t Line = 0xFF0000;  // red: a cut line
// Grid crossings: yellow inside the picture and on its top and left edges, blue on its
// bottom and right edges. The piece masks read them to share the line pixels out.
inline constexpr std::uint32_t YellowMarker = 0xFFFF00;
inline constexpr std::uint32_t BlueMarker = 0x0000FF;
}  // namespace DieColour
