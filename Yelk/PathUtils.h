#pragma once
// Taking paths apart and finding files by name. Paths are split at '/' and also at '\',
// so that Windows-made paths stored in puzzle files still yield their file names.

#include <QString>

// The text after the last dot of the file name, without the dot; empty when there is none.
QString GetFileExtFromPath(const QString& path);
// The part after the last separator, its extension cut unless keepExt.
QString GetFileNameFromPath(const QString& path, bool keepExt = true);
// The folder part, ending with '/' when trailingSlash; empty when the path has no folder.
QString GetDirFromPath(const QString& path, bool trailingSlash = true);
// The program's folder.
QString GetExePath(bool trailingSlash = true);
// The absolute form of a path.
QString ConvertToLongPath(const QString& path);
// Shell folders have no counterpart here: always empty.
QString GetSpecialFolder(int id);
// The full path of a file found in the working folder or else the program's folder
// (never the program search path); ext is added when the name has none. Empty when not found.
QString GetFullPath(const QString& name, const QString& ext);
