#pragma once
// What showing a note may cost, counted over the whole note: a note made of many pieces, each
// cheap on its own, must not add up to a stall. Each budget grows with the note, so that any
// note lays out within a few times the time of plain prose of its size, and has a floor, so
// that an ordinary note's tables, long words and photos are shown as written. Beyond a
// budget the note is shown more simply; what it stores and writes back never changes.

#include "NotePicture.h"

#include <QtGlobal>

#include <algorithm>

namespace NoteBudget {

// Tab work. At every tab of a paragraph with tab stops Qt measures the rest of the paragraph:
// its letters cheaply, each tab and picture again from its format, which costs about as much
// as 40 and 400 letters. A table row is such a paragraph. Beyond the budget every paragraph
// of the note is shown with the default stops; a paragraph over the budget on its own loses
// its stops alone, and the rest of the note keeps theirs.
inline constexpr qint64 TabCost = 40;
inline constexpr qint64 PictureCost = 400;
inline constexpr qint64 TabWorkPerPosition = 16;
inline constexpr qint64 TabWorkFloor = qint64(4) << 20;

inline qint64 TabWork(qint64 tabs, qint64 letters, qint64 pictures) {
  return tabs * (letters + TabCost * tabs + PictureCost * pictures);
}
inline qint64 TabBudget(qint64 positions) { return TabWorkFloor + TabWorkPerPosition * positions; }

// Long words. Qt breaks a word longer than the line by measuring the rest of it again for
// every line it fills: about letters² work per word longer than the narrowest line. Beyond
// the budget the note wraps anywhere, which is linear.
inline constexpr int LongerThanALine = 64;
inline constexpr qint64 WordWorkPerPosition = 64;
inline constexpr qint64 WordWorkFloor = qint64(4) << 20;

inline qint64 WordBudget(qint64 positions) { return WordWorkFloor + WordWorkPerPosition * positions; }

// Pictures. Opening a byte of plain prose costs about as much as decoding a few dozen bytes
// of picture: a note decodes at most 32 bytes of pictures for each of its own (a photo or
// screenshot kept as PNG or JPEG takes less), and at least 16 MB, a picture of four million
// pixels. Pictures beyond it are shown as their frames.
inline constexpr qint64 PictureBytesPerByte = 32;
inline constexpr qint64 PictureBytesFloor = qint64(16) << 20;

inline qint64 PictureBytes(qint64 noteBytes) {
  return std::clamp(PictureBytesPerByte * noteBytes, PictureBytesFloor, NotePicture::MaxDocumentBytes);
}

}  // namespace NoteBudget
