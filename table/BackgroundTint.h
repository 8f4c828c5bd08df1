#pragma once
// The table felt in the player's colour: each shade of the default felt is a known step
// from the default table colour, and the same step is taken from the chosen colour.

#include <memory>

class VirtualBuffer;

// A new buffer "New bkgd" of the texture's size; colour is 0x00RRGGBB.
std::unique_ptr<VirtualBuffer> TintTexture(const VirtualBuffer& texture, int colour);
