#pragma once
// The program's arguments: puzzle files and the /f: /s: /i: folder options. Problems are
// only logged, never shown.

#include <QString>
#include <QStringList>

class ProgSettings;

// Sets the default save folder and the open dialog's initial directory from the options
// and returns the last puzzle file named (empty when none).
QString ParseCommandLine(const QStringList& arguments, ProgSettings& settings);
