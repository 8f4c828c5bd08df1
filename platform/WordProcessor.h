#pragma once
// Starts the player's word processor with no document: the program the player chose, else
// the desktop's default application for RTF documents, else the first of LibreOffice Writer
// and AbiWord found on PATH. Programs start through ProgramStarter, never through a shell.

#include <QString>
#include <QStringList>

namespace WordProcessor {
// The command line of a desktop entry's Exec key, its field codes left out; empty when the
// text has no usable Exec key in its [Desktop Entry] group.
QStringList ExecCommand(const QString& desktopEntry);
// The default word processor's command line with its program found; empty when there is none.
QStringList DefaultCommand();
// Whether a chosen program names an executable file.
bool IsProgram(const QString& program);
// Starts the chosen program when it names an executable file, else the default. False when
// nothing could be started.
bool Start(const QString& chosen);
}  // namespace WordProcessor
