#pragma once
// Walks the editor's text in blocks of 4096 positions. Where the next block starts, where
// the current one starts and where it was asked to end are bookmarks, so they follow edits
// made between blocks and a block re-read after an edit covers the same text. With sentence
// breaks a block ends after a full stop.

#include <QString>

class RichEdit20;

class BlockIterator {
public:
  static constexpr int BlockSize = 4096;

  BlockIterator(RichEdit20& editor, bool sentenceBreaks);
  ~BlockIterator();
  BlockIterator(const BlockIterator&) = delete;
  BlockIterator& operator=(const BlockIterator&) = delete;

  // end -1 is the text's end. An empty block means no more text.
  const QString& GetFirstBlock(int start, int end);
  const QString& GetNextBlock(int end);
  // The current block again, or the block from the given bookmark, up to the same end.
  const QString& GetSameBlock(int bookmark);
  bool BlocksRemaining() const { return !done_; }
  int BlockPosition() const;
  bool Resized() const { return resized_; }

private:
  // The end of a sentence-broken block of [from, to), or -1 when it holds no full stop.
  int SentenceEnd(int from, int to);

  RichEdit20& editor_;
  int nextBookmark_, blockBookmark_, endBookmark_;
  bool done_ = false;
  bool resized_ = false;
  bool sentenceBreaks_;
  QString buffer_;
};
