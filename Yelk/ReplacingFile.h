#pragma once
// The one writer of everything the player makes (saved games, still puzzles, notes, the
// settings): a file written beside its target and renamed over it only when all of it is
// on the disk. Every write, the file's sync, its close and the rename are checked; until
// Commit succeeds the target keeps its old contents, and a failed or abandoned write
// leaves nothing behind. The new file lives in the target's folder (a rename never crosses
// a volume), under a hidden name that keeps the target's extension so that whatever judges
// a file by its name still recognises it, and it is recorded (PendingFiles) from before it
// exists until the rename so that a run killed in between has it removed at the next
// start. A symbolic link stays a link (the file it points at is replaced), an existing
// target's permission bits carry over, and a target without write permission is not
// replaced. Failures read as the system's reason (strerror).

#include <QFile>
#include <QString>

#include <functional>
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

  // The steps a test may make fail: the hook answers an errno to fail the step with, or 0.
  // Write is asked once per chunk written; Record once the new file exists, before it is
  // recorded by its device and inode (a failure there is logged and the write goes on, as
  // for a list that cannot be written).
  enum class Step { Create, Record, Write, Sync, Close, Rename, FolderSync };
  using FaultHook = std::function<int(Step)>;
  static void SetFaultHook(FaultHook hook);

  // Bytes handed to the system in one write at most.
  static constexpr qint64 ChunkSize = 64 * 1024;

  explicit ReplacingFile(const QString& target);
  ~ReplacingFile();  // removes the new file unless it was committed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the new, empty file for writing; false when the folder refuses it or the
  // target is read-only.
  bool Open();
  // Open, then closed again, for a writer that opens the path itself.
  bool Reserve();
  QIODevice* Device();
  // Writes all of bytes in chunks, each checked; false with the reason.
  bool Write(const QByteArray& bytes);
  QString NewPath() const { return newPath_; }
  QString Target() const { return target_; }
  // Syncs and closes the new file, gives it the old file's permission bits, renames it over
  // the target and syncs the folder (a failure of that last step is only logged: the new
  // file is complete). False with the reason when any step up to the rename failed.
  bool Commit();
  QString ErrorString() const { return error_; }

  // The whole of bytes as the target's new contents; the reason in error on failure.
  static bool Replace(const QString& target, const QByteArray& bytes, QString* error = nullptr);

private:
  class Writer;
  bool Fail(const QString& error);
  bool Fail(int error);
  bool SyncAndClose();
  bool TargetIsReadOnly();
  void SyncFolder() const;

  QString target_;
  QString newPath_;
  std::unique_ptr<Writer> file_;
  int fd_ = -1;
  QString error_;
};
