#pragma once
// Opening a picture file for reading: a regular file only. A FIFO would block the open
// until some writer appears, a device could be read for ever, and a folder reads as
// nothing; each is refused at once.

#include <QString>

class QFile;

class RegularFile {
public:
  enum Status { Opened, NotOpened, NotRegular };
  // Opens path read-only into file, never blocking on what the path turns out to be.
  static Status Open(QFile& file, const QString& path);
};
