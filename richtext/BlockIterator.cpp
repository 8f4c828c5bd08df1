#include "BlockIterator.h"

#include "RichEdit20.h"

#include <algorithm>

BlockIterator::BlockIterator(RichEdit20& editor, bool sentenceBreaks)
    : editor_(editor),
      nextBookmark_(editor.SetBookmark(0)),
      blockBookmark_(editor.SetBookmark(0)),
      endBookmark_(editor.SetBookmark(0)),
      sentenceBreaks_(sentenceBreaks) {}

BlockIterator::~BlockIterator() {
  editor_.DeleteBookmark(endBookmark_);
  editor_.DeleteBookmark(blockBookmark_);
  editor_.DeleteBookmark(nextBookmark_);
}

int BlockIterator::BlockPosition() const { return editor_.GetBookmarkPos(blockBookmark_); }

const QString& BlockIterator::GetFirstBlock(int start, int end) {
  editor_.MoveBookmark(nextBookmark_, std::max(start, 0));
  done_ = false;
  return GetNextBlock(end);
}

int BlockIterator::SentenceEnd(int from, int to) {
  const qsizetype stop = buffer_.lastIndexOf(u'.');
  if (stop > 0) return from + static_cast<int>(stop) + 1;
  const LONG found = editor_.FindText(QStringLiteral("."), from, true, true, false, false, to - from);
  return found < 0 ? -1 : found + 1;
}

const QString& BlockIterator::GetNextBlock(int end) {
  buffer_.clear();
  if (done_) return buffer_;
  const int length = editor_.GetLength(), from = editor_.GetBookmarkPos(nextBookmark_);
  editor_.MoveBookmark(blockBookmark_, from);
  editor_.MoveBookmark(endBookmark_, end == -1 ? length : end);
  int to = length;
  if (end >= 0) {
    const int limit = std::min(end, length);
    if (from >= limit) {
      done_ = true;
      return buffer_;
    }
    to = limit;
  }
  resized_ = false;
  if (to - from > BlockSize) {
    buffer_ = editor_.Note().GetText(from, from + BlockSize);
    int next = from + BlockSize;
    if (sentenceBreaks_) {
      const int stop = SentenceEnd(from, to);
      if (stop >= 0) {
        resized_ = stop > next;
        next = stop;
        buffer_ = editor_.Note().GetText(from, next);
      } else {
        next = to;
        resized_ = true;
        buffer_ = editor_.Note().GetText(from, to);
      }
    }
    editor_.MoveBookmark(nextBookmark_, next);
    done_ = next >= to;
    return buffer_;
  }
  buffer_ = editor_.Note().GetText(from, to);
  editor_.MoveBookmark(nextBookmark_, to);
  done_ = true;
  return buffer_;
}

const QString& BlockIterator::GetSameBlock(int bookmark) {
  const int from = editor_.GetBookmarkPos(bookmark != -1 ? bookmark : blockBookmark_);
  editor_.MoveBookmark(nextBookmark_, from);
  done_ = false;
  GetNextBlock(editor_.GetBookmarkPos(endBookmark_));
  editor_.MoveBookmark(blockBookmark_, from);
  return buffer_;
}
