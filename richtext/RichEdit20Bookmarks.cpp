// RichEdit20's bookmarks: the tables, their upkeep around edits and the moves between them.

#include "RichEdit20.h"

#include "Gutter.h"

#include <QApplication>

#include <algorithm>

int RichEdit20::SetBookmark(int position) {
  if (position < 0) position = GetCaretPos();
  return Bookmarks.Add(std::min<int>(position, GetLength()));
}

bool RichEdit20::DeleteBookmark(int id) { return Bookmarks.Free(id); }

bool RichEdit20::MoveBookmark(int id, int position) {
  if (!Bookmarks.IsLive(id)) return false;
  if (position < 0) position = GetCaretPos();
  return Bookmarks.Put(id, std::min<int>(position, GetLength()));
}

bool RichEdit20::MoveToBookmark(int id) {
  const int position = Bookmarks.Get(id);
  if (position < 0) return false;
  SetSelection(position, position);
  ScrollToView();
  return true;
}

void RichEdit20::SetExternalBookmark(int position) {
  // Normalised first, so that every position past the end finds the one bookmark there.
  position = position < 0 ? GetCaretPos() : std::min<int>(position, GetLength());
  if (GetBookmarkIdAt(position) >= 0) return;
  ExternalBookmarks.Add(SetBookmark(position));
  GutterRefreshPending = true;
}

void RichEdit20::DeleteExternalBookmark(int id) {
  if (id < 0) return;
  DeleteBookmark(id);
  for (int i = ExternalBookmarks.Size() - 1; i >= 0; --i)
    if (ExternalBookmarks.Get(i) == id) ExternalBookmarks.Delete(i);
  GutterRefreshPending = true;
}

void RichEdit20::DeleteAllExternalBookmarks() {
  // Freed, not removed: ids of internal bookmarks held elsewhere keep their meaning.
  for (int i = ExternalBookmarks.Size() - 1; i >= 0; --i) Bookmarks.Free(ExternalBookmarks.Get(i));
  ExternalBookmarks.Clear();
  GutterRefreshPending = true;
}

int RichEdit20::GetBookmarkIdAt(int position) const {
  if (position == -1) position = GetCaretPos();
  for (int i = ExternalBookmarks.Size() - 1; i >= 0; --i) {
    const int id = ExternalBookmarks.Get(i);
    if (Bookmarks.Get(id) == position) return id;
  }
  return -1;
}

void RichEdit20::GoToFirstBookmark() {
  if (ExternalBookmarks.Size() == 0) return QApplication::beep();
  MoveToBookmark(ExternalBookmarks.Get(0));
}

void RichEdit20::GoToLastBookmark() {
  if (ExternalBookmarks.Size() == 0) return QApplication::beep();
  MoveToBookmark(ExternalBookmarks.Get(ExternalBookmarks.Size() - 1));
}

void RichEdit20::GoToNextBookmark() {
  const int caret = GetCaretPos();
  int best = -1, bestPosition = 0;
  for (int i = 0; i < ExternalBookmarks.Size(); ++i) {
    const int id = ExternalBookmarks.Get(i), position = Bookmarks.Get(id);
    if (position > caret && (best < 0 || position < bestPosition)) best = id, bestPosition = position;
  }
  if (best < 0) return QApplication::beep();
  MoveToBookmark(best);
}

void RichEdit20::GoToPreviousBookmark() {
  const int caret = GetCaretPos();
  int best = -1, bestPosition = 0;
  for (int i = ExternalBookmarks.Size() - 1; i >= 0; --i) {
    const int id = ExternalBookmarks.Get(i), position = Bookmarks.Get(id);
    if (position >= 0 && position < caret && (best < 0 || position > bestPosition)) best = id, bestPosition = position;
  }
  if (best < 0) return QApplication::beep();
  MoveToBookmark(best);
}

int RichEdit20::GetRelBookmarkPos() const {
  if (ExternalBookmarks.Size() == 0) return 0;
  const int caret = GetCaretPos();
  bool before = false, after = false;
  for (int i = 0; i < ExternalBookmarks.Size(); ++i) {
    const int position = Bookmarks.Get(ExternalBookmarks.Get(i));
    before = before || position < caret;
    after = after || position > caret;
  }
  // Bookmarks at the caret count on neither side.
  return before && after ? 3 : after ? 2 : before ? 1 : 4;
}

std::unique_ptr<IntArray> RichEdit20::GetVisibleBookmarks() {
  auto positions = std::make_unique<IntArray>(QStringLiteral("Visible Bookmarks"));
  if (ExternalBookmarks.Size() == 0) return positions;
  const CHARRANGE visible = GetVisibleRange();
  for (int i = ExternalBookmarks.Size() - 1; i >= 0; --i) {
    const int position = Bookmarks.Get(ExternalBookmarks.Get(i));
    if (position >= visible.cpMin && position <= visible.cpMax) positions->Add(position);
  }
  return positions;
}

void RichEdit20::PrepareBookmarks(CHARRANGE edited) {
  replacedBookmarks_.clear();
  if (Bookmarks.Empty()) return;
  EditStart = edited.cpMin;
  EditEnd = edited.cpMax;
  EditLength = GetLength();
  preparedRevision_ = contentRevision_;
  for (int id = 0; id < Bookmarks.Size(); ++id) {
    const int position = Bookmarks.Get(id);
    if (position >= EditStart && position < EditEnd) replacedBookmarks_.push_back(id);
  }
}

void RichEdit20::UpdateBookmarks(bool afterUndoRedo) {
  // The document's cursors have moved every bookmark already; what they cannot know is that
  // bookmarks inside a replaced selection belong at its start, not behind the new text.
  if (!afterUndoRedo && contentRevision_ != preparedRevision_)
    for (const int id : replacedBookmarks_)
      if (Bookmarks.IsLive(id)) Bookmarks.Put(id, EditStart);
  replacedBookmarks_.clear();
  if (!Bookmarks.Empty()) GutterRefreshPending = true;
}

bool RichEdit20::GutterKey(QKeyEvent* event) {
  if (!gutterPresent_ || event->key() != Qt::Key_F2) return false;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
  if (modifiers == Qt::NoModifier)
    GoToNextBookmark();
  else if (modifiers == Qt::ShiftModifier)
    GoToPreviousBookmark();
  else if (gutter_ != nullptr) {
    // Ctrl+F2 sets the line's bookmark, Ctrl+Shift+F2 deletes it, as the menu's item says.
    gutter_->UpdateMenuItems();
    const QKeySequence pressed(event->keyCombination());
    if (gutter_->SetItem->shortcut() == pressed) gutter_->SetItem->trigger();
  }
  return true;
}
