#pragma once
// Opening a file the player names for reading: a regular file only. A FIFO would block the
// open until some writer appears, a device could be read for ever, and a folder reads as
// nothing; each is refused at once.

#include <QByteArray>
#include <QString>

class QFile;

class RegularFile {
public:
  enum Status { Opened, NotOpened, NotRegular, TooLarge, NotRead };
  // Opens path read-only into file, never blocking on what the path turns out to be.
  static Status Open(QFile& file, const QString& path);
  // The whole file into bytes, when it holds at most `limit` bytes (else TooLarge, nothing
  // read); Opened when every byte was read and the file neither grew nor shrank meanwhile.
  // Bytes stay empty on any failure.
  static Status ReadAll(const QString& path, qint64 limit, QByteArray& bytes);
};
