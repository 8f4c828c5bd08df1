#pragma once
// Notes that once froze the game's layout, made here rather than kept as files: tall
// pictures, a long word beside a picture of the largest height, large tables, and plain
// text of a given length to measure them against.

#include <QByteArray>

namespace HostileNotes {

// Pictures of the given height in twips, each in a paragraph of its own; picwgoal 0 leaves
// the width to the group's own size (1 pixel).
QByteArray TallPictures(int count, qint64 pichgoal = 491505, int picwgoal = 0);
// One word of this many letters, then a picture of the given height in twips.
QByteArray LongWordBesidePicture(int letters, qint64 pichgoal = 2147483648LL);
// One paragraph of a single word of this many letters.
QByteArray OneWord(qsizetype letters);
// A table of rows x columns cells, each row declaring its cell boundaries.
QByteArray Table(int rows, int columns);
// The second note's text after the first's.
QByteArray Join(const QByteArray& first, const QByteArray& second);
// Plain words in paragraphs of about 400 characters, this many characters in all.
QByteArray PlainText(qsizetype characters);

}  // namespace HostileNotes
