#pragma once
// Temporary files of the program. Each lives in a folder of this user's own below the
// system's temporary folder, is created exclusively, and is deleted at program exit when
// it is still there (a normal quit through Qt as well as exit()).

#include <QString>

// The path of a new, empty, uniquely named file "Jig<unique>.tmp"; empty on failure.
QString CreateTempFile();
// The folder CreateTempFile uses ("<system temp>/<program>-<uid>", mode 0700).
QString GetTempFileFolder();
