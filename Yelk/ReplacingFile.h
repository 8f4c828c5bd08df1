#pragma once
// A file written beside its target and renamed over it only when all of it was written:
// until Commit the target keeps its old contents, and a failed or abandoned write leaves
// nothing behind. The new file lives in the target's folder (a rename never crosses a
// volume) and keeps the target's extension, so that whatever judges a file by its name
// still recognises it. An existing target's permission bits carry over.

#include <QFile>
#include <QString>

#include <memory>

class ReplacingFile {
public:
  // Failures to act out instead of meeting them on a real disk: the folder refuses new
  // files, or writes past a number of bytes fail as on a full disk. Applies to files
  // opened while it is set.
  struct Faults {
    bool refuseCreate = false;
    qint64 writeLimit = -1;
  };
  static void SetFaults(const Faults& faults);

  explicit ReplacingFile(const QString& target);
  ~ReplacingFile();  // removes the new file unless it was committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the new, empty file for writing; false when the folder refuses it.
  bool Open();
  // Open, then closed again, for a writer that opens the path itself.
  bool Reserve();
  QIODevice* Device();
  QString NewPath() const { return newPath_; }
  QString Target() const { return target_; }
  // Flushes to the disk, gives the old file's permission bits and renames over the target.
  bool Commit();
  QString ErrorString() const { return error_; }

private:
  class Writer;
  bool Fail(const QString& error);

  QString target_;
  QString newPath_;
  std::unique_ptr<Writer> file_;
  QString error_;
};
