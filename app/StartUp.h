#pragma once
// The program's start: its identity, the one-copy lock and the hand-over to a running copy,
// the checks of the display, then the main window.

#include "platform/Screens.h"

#include <QString>
#include <QStringList>

namespace StartUp {
inline const QString Title = QStringLiteral("Tessavinelume Jigsaw Puzzles");
inline const QString Maker = QStringLiteral("Brindlequarrowmelstone");
// How long a second copy waits for the running copy to take its command line.
constexpr int HandOverWaitMs = 4000;

// The title, version, abbreviation, the maker's addresses and the settings key.
void SetProgramIdentity();
// The name of the one-copy lock. Copies that share a settings file are the same game, so
// the settings file's path goes into it (the lock adds the user's id).
QString LockName();
// The message that refuses a display too weak for the game; empty when it will do.
QString DisplayRefusal(const ScreenFacts& screen);
// The command line as a second copy hands it over: the program first, then every argument
// that is not an option made an absolute path against folder, and so is an option's folder.
QStringList AbsoluteArguments(const QStringList& arguments, const QString& folder);
// Deletes the temporary files a copy that ended without tidying up left in folder.
void SweepStaleTempFiles(const QString& folder);
// Everything after the application object is made; the process's exit code.
int Run();
}  // namespace StartUp
