#pragma once
// The storm's puzzle files, through the game's own writer and reader: the saved game it plays
// (groups joined, the still puzzle's note and box cover kept), and the check that a game the
// storm saved reloads with every piece.

#include <QString>

namespace StormFiles {
// Cuts the still puzzle at pieceSize on a table without a window, joins a few rows of
// neighbours into groups and saves the game; false when a step failed.
bool WriteSavedGame(const QString& stillPuzzle, const QString& savedGame, int pieceSize);
// What keeps a saved game from reloading with every piece: "" when nothing does.
QString Incomplete(const QString& savedGame);
}  // namespace StormFiles
