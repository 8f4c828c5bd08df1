#include "GutterLayout.h"

namespace GutterLayout {

int IconX(int width, int n, int k) {
  const int room = width - 2 - IconWidth * n;
  return room / (n + 1) * (k + 1) + IconWidth * k + (room % (n + 1) != 0 ? 1 : 0);
}

TColor Shade(TColor colour) {
  switch (colour) {
    case clBtnFace: return clBtnShadow;
    case clSilver: return clGray;
    case clRed: return clMaroon;
    case clLime: return clGreen;
    case clYellow: return clOlive;
    case clBlue: return clNavy;
    case clFuchsia: return clPurple;
    case clAqua: return clTeal;
    case clWhite: return clGray;
    default: return clBlack;
  }
}

}  // namespace GutterLayout
