#pragma once
// The codes of symbol-set fonts. The Symbol face maps to Unicode through its own table (a
// bullet shows as a bullet); other symbol faces keep their codes at U+F020..U+F0FF, as the
// office suite writes them.

#include <QString>

class SymbolFont {
public:
  static bool IsSymbolFace(const QString& face);
  static char16_t ToUnicode(bool symbolFace, unsigned char code);
  // The code that reads back as `c` under a symbol-set font, or -1.
  static int FromUnicode(bool symbolFace, char16_t c);
};
