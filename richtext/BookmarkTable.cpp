#include "BookmarkTable.h"

#include <QTextDocument>

#include <algorithm>

int BookmarkTable::Clamp(int position) const {
  // The final paragraph mark is no position of the text.
  return std::clamp(position, 0, std::max(0, document_->characterCount() - 1));
}

void BookmarkTable::Attach(QTextDocument* document) {
  const std::vector<int> positions = Positions();
  document_ = document;
  Restore(positions);
}

std::vector<int> BookmarkTable::Positions() const {
  std::vector<int> positions;
  for (int id = 0; id < Size(); ++id) positions.push_back(Get(id));
  return positions;
}

void BookmarkTable::Restore(const std::vector<int>& positions) {
  cursors_.assign(positions.size(), std::nullopt);
  for (int id = 0; id < Size(); ++id)
    if (positions[id] >= 0) Put(id, positions[id]);
}

int BookmarkTable::Get(int id) const {
  if (id < 0 || id >= Size() || !cursors_[id]) return -1;
  return cursors_[id]->position();
}

int BookmarkTable::Add(int position) {
  cursors_.emplace_back(QTextCursor(document_));
  cursors_.back()->setPosition(Clamp(position));
  return Size() - 1;
}

bool BookmarkTable::Put(int id, int position) {
  if (id < 0 || id >= Size()) return false;
  QTextCursor cursor(document_);
  cursor.setPosition(Clamp(position));
  cursors_[id] = cursor;
  return true;
}

bool BookmarkTable::Free(int id) {
  if (!IsLive(id)) return false;
  cursors_[id].reset();
  while (!cursors_.empty() && !cursors_.back()) cursors_.pop_back();
  return true;
}
