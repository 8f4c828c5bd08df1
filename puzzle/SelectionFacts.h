#pragma once
// The texts the open dialog shows beside the preview of a puzzle, and whether its picture
// can be cut at all.

#include <QSize>
#include <QString>
#include <QStringList>

class Puzzle;

namespace SelectionFacts {
// Too small when fewer than two of the smallest pieces fit across or down.
bool TooSmall(QSize picture);
// "640x480 pixels", with "  (scaled to 50%)" when the puzzle is played at another size.
QString SizeText(Puzzle& puzzle);
// The four lines of a saved game: pieces, percent complete, last date of play, elapsed
// time; the bare captions without a puzzle.
QStringList SavedGameLines(const Puzzle* puzzle);
// Whether the puzzle's file offers turning all pieces right side up (no file: it does).
bool UprightOffered(const Puzzle& puzzle);
}  // namespace SelectionFacts
