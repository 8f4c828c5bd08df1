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

// Notes made of many pieces, each cheap on its own, and the generator's mixes of them.
// A word of this many letters.
QByteArray Letters(qsizetype letters);
// A small PNG picture's group.
const QByteArray& SmallPicture();
// Rows of cells, each holding the given RTF; each row declares its first 64 boundaries, as
// the reader keeps them.
QByteArray Rows(int rows, int cells, const QByteArray& cell = {});
// Paragraphs of this many tab stops and tabs, each tab followed by the given text.
QByteArray TabbedParagraphs(int paragraphs, int stops, int tabs, const QByteArray& between = {});
// Words of exactly this many letters, ten to a paragraph.
QByteArray Words(int count, int letters);
// Rows of cells, each holding a small decoded picture.
QByteArray PicturesInCells(int rows, int cells);
// One picture of one colour, which its PNG keeps in a few bytes.
QByteArray SolidPicture(int width, int height);
// A note of about this many bytes made of random pieces of every family above, with nested
// tables and pictures in headers among them; the same seed makes the same note.
QByteArray Mix(unsigned seed, qsizetype bytes);
// The second note's text after the first's.
QByteArray Join(const QByteArray& first, const QByteArray& second);
// Plain words in paragraphs of about 400 characters, this many characters in all.
QByteArray PlainText(qsizetype characters);
// The same words as a note of about this many bytes.
QByteArray Prose(qsizetype bytes);

}  // namespace HostileNotes
