#pragma once
// A saved game or still puzzle taken the whole way a player's file goes: opened as a puzzle on
// a window-less table, cut (the piece count capped, so that every input stays quick), laid
// out, its box cover decoded, its note laid out in the note editor at the narrowest width the
// note window allows, a wide one and two narrower still, and its music played for a moment,
// paused and stopped. Needs a QApplication (the note editor is a widget).

#include <QByteArray>
#include <QString>

namespace WholeWayFuzzing {

enum class Kind { SavedGame, StillPuzzle };

// The steps one input reached.
struct Steps {
  bool opened = false;   // the puzzle file was read
  bool cut = false;      // the picture was cut into pieces
  bool onTable = false;  // the pieces were laid out on the table and the load finished
  bool cover = false;    // a box cover was decoded
  bool note = false;     // a note was laid out at every width
  bool music = false;    // a track played
};

// How many inputs reached each step, over the process's life.
struct Reach {
  long inputs = 0, opened = 0, cut = 0, onTable = 0, cover = 0, note = 0, music = 0;
};

// Once, before the first input: the settings a player who hears music has.
void Prepare();
Steps Load(const QByteArray& bytes, Kind kind);
const Reach& Totals();
// One line: "reach: inputs 10, opened 8, cut 6, table 6, cover 2, note 3, music 2".
QString Describe(const Reach& reach);

// How long a playing track is heard before it is paused.
inline constexpr int MusicMilliseconds = 200;
// The most pieces a puzzle is cut into here; a saved game cut into more is not loaded.
inline constexpr int MaxPieces = 100;
// The table the puzzles are played on.
inline constexpr int TableWidth = 640, TableHeight = 480;

}  // namespace WholeWayFuzzing
