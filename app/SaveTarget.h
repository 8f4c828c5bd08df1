#pragma once
// Where a game is saved.

#include <QString>

class Puzzle;

// The saved-game path when set, else the source when it is a saved game; empty when
// that file no longer exists.
QString SaveTarget(const Puzzle& puzzle);
// A chosen name always ends in ".saw", so a picture is never overwritten by a game.
QString WithSawExtension(const QString& path);
bool IsSavedGamePath(const QString& path);
