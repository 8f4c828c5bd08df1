#pragma once
// How deep the bevel reaches into a piece from its edges and how strongly each ring of pixels
// is lit or shaded. Set once per cut from the piece size; halved while the light bevel is on.

class BevelRings {
public:
  // 0 flat, 1 one ring (small pieces), 2 two rings, 3 three rings (large pieces).
  static void SetBevelStyle(int style);
  // Halves the ring values when the light bevel comes on, doubles them when it goes off.
  static void SetLightRings(bool light);

  static int Depth();
  // Ring 1 is the outermost; 0 for rings beyond the depth.
  static int Value(int ring);
  static bool Light();
};
