#pragma once
// What counts as part of a word when words are selected, counted or matched whole: any
// letter or digit, so that an accented word is one word ("café", not "caf" and "é").

#include <QChar>

namespace WordChar {
inline bool Is(QChar c) { return c.isLetterOrNumber(); }
}  // namespace WordChar
