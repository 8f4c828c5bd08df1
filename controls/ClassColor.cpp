#include "ClassColor.h"

#include <QGuiApplication>
#include <QPalette>

QColor ClassColor::ToQColor(TColor colour) {
  if (colour == clNone) return QColor();
  if (IsSystemColor(colour)) {
    const QPalette palette = QGuiApplication::palette();
    switch (colour & 0xFF) {
      case 0x05: return palette.color(QPalette::Base);      // window background
      case 0x08: return palette.color(QPalette::Text);      // window text
      case 0x0C: return palette.color(QPalette::Dark);      // application workspace
      case 0x10: return palette.color(QPalette::Mid);       // button shadow
      case 0x14: return palette.color(QPalette::Light);     // button highlight
      default: return palette.color(QPalette::Button);      // button face and the rest
    }
  }
  const auto c = std::uint32_t(colour);
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

TColor ClassColor::FromQColor(const QColor& colour) {
  if (!colour.isValid()) return clNone;
  return TColor(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}
