#include "BevelRings.h"

namespace {

struct Rings {
  int depth = 0;
  int values[3] = {0, 0, 0};
  bool light = false;
};

Rings rings;

}  // namespace

void BevelRings::SetBevelStyle(int style) {
  static constexpr Rings styles[4] = {
      {0, {0, 0, 0}}, {1, {60, 0, 0}}, {2, {46, 26, 0}}, {3, {42, 30, 18}}};
  // A new cut starts unlit, as its new bevel filter does; the filter lights both together.
  rings = styles[style >= 0 && style <= 3 ? style : 0];
}

void BevelRings::SetLightRings(bool light) {
  if (light == rings.light) return;
  for (int& value : rings.values) value = light ? value >> 1 : value * 2;
  rings.light = light;
}

int BevelRings::Depth() { return rings.depth; }

int BevelRings::Value(int ring) { return ring >= 1 && ring <= 3 ? rings.values[ring - 1] : 0; }

bool BevelRings::Light() { return rings.light; }
