#pragma once
// The list of new files the safe writer has made and not yet renamed over their targets.
// A run that ends before a rename (killed, power lost) leaves such a file beside the
// player's file; the next start removes exactly those that are still the file recorded
// (same device and inode), so a file of the player's that happens to carry the same name
// is never touched. A name is recorded before its file is made, and the file once made:
// a run ended in between leaves an empty file under a name no one else chose, which goes
// too. The list lives beside the settings store.

#include <QString>

class PendingFiles {
public:
  // Where the list is kept; a test may move it (empty: the default beside the settings).
  static QString ListPath();
  static void SetListPath(const QString& path);

  // Records the name of a file the writer is about to make, and then the file just made
  // (its device and inode); false (and a log line) when the list could not be written,
  // which leaves the file unrecorded but does not stop the save.
  static bool Expect(const QString& path);
  static bool Add(const QString& path);
  // Forgets a file that was renamed or removed.
  static void Remove(const QString& path);
  // Removes the recorded files still present, each with a message-log line, and empties
  // the list; the number removed.
  static int Sweep();
};
