#pragma once
// A file path as a puzzle file's record holds it: Latin-1 bytes as older readers expect,
// unless the path has characters Latin-1 lacks or its Latin-1 bytes would also read as
// UTF-8; then UTF-8. Non-ASCII bytes that are valid UTF-8 read as UTF-8, anything else as
// Latin-1, so every path reads back exactly. A path too long for its record may be stored
// relative to the folder of the file that holds it.

#include <QByteArray>
#include <QString>

class StoredPath {
public:
  static QByteArray Encode(const QString& path);
  static QString Decode(const QByteArray& bytes);

  // The path's bytes when they fit in limit, else those of the path relative to folder when
  // they fit, else the path's own (too long: the caller refuses them).
  static QByteArray Fitted(const QString& path, const QString& folder, qsizetype limit);
  // A stored path read back: a relative one is taken from folder.
  static QString Resolved(const QByteArray& bytes, const QString& folder);

private:
  static bool IsNonAsciiUtf8(const QByteArray& bytes);
};
