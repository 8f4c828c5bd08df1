#pragma once
// Bookmark ids to positions. Every live id is held by a QTextCursor on the document, so that
// every edit moves it, also the edits no caller brackets (dragged text, a middle-button
// paste, input methods): an insertion at a bookmark moves it behind the new text, a deleted
// range around it collapses it to the range's start. A free id reads -1; free ids at the
// end of the table are trimmed, so an id stays valid until it is deleted.

#include <QTextCursor>

#include <optional>
#include <vector>

class QTextDocument;

class BookmarkTable {
public:
  explicit BookmarkTable(QTextDocument* document) : document_(document) {}

  // The positions move to a new document, clamped to its length.
  void Attach(QTextDocument* document);

  int Size() const { return static_cast<int>(cursors_.size()); }
  bool Empty() const { return cursors_.empty(); }
  // -1 for a free id or one outside the table.
  int Get(int id) const;
  bool IsLive(int id) const { return Get(id) >= 0; }
  // Appends; answers the new id.
  int Add(int position);
  bool Put(int id, int position);
  // The entry becomes free, then free entries at the end are trimmed; false for a bad id.
  bool Free(int id);
  void Clear() { cursors_.clear(); }
  // Every id's position, -1 for free ones; and the table put back from them.
  std::vector<int> Positions() const;
  void Restore(const std::vector<int>& positions);

private:
  int Clamp(int position) const;

  QTextDocument* document_;
  std::vector<std::optional<QTextCursor>> cursors_;
};
