#pragma once
// Colours as the game's windows exchange them: 0x00BBGGRR values, the system colours
// (0x80000000 plus a system colour index) and clNone for "no colour".

#include <QColor>
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = TColor(0x8000000F);
constexpr TColor clBtnShadow = TColor(0x80000010);
constexpr TColor clBtnHighlight = TColor(0x80000014);
constexpr TColor clAppWorkSpace = TColor(0x8000000C);
constexpr TColor clWindow = TColor(0x80000005);
constexpr TColor clWindowText = TColor(0x80000008);

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;

class ClassColor {
public:
  // System colours come from the application's palette; clNone gives an invalid QColor.
  static QColor ToQColor(TColor colour);
  static TColor FromQColor(const QColor& colour);
  static bool IsSystemColor(TColor colour) { return (std::uint32_t(colour) & 0xFF000000u) == 0x80000000u; }
};
