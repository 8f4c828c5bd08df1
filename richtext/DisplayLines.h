#pragma once
// The display lines of a laid-out document, counted as they are drawn (a wrapped paragraph
// has several). The index keeps the first display line of each paragraph, valid up to the
// first paragraph changed since; a query lays out and counts only up to what it asks for.

#include "RichEditDefs.h"

#include <QObject>
#include <QTextLine>

#include <vector>

class QTextBlock;
class QTextDocument;

class DisplayLines : public QObject {
  Q_OBJECT

public:
  explicit DisplayLines(QObject* parent = nullptr);

  // Follows this document's changes from now on.
  void SetDocument(QTextDocument* document);
  // Every line may have moved (a new width, new margins).
  void InvalidateAll() { valid_ = 0; }

  // At least 1.
  LONG Count();
  // The line holding the position (clamped to the text).
  LONG LineFromPosition(LONG position);
  // The first position of a line; -1 for a line that does not exist.
  LONG LineStart(LONG line);
  // The positions of the line holding the position, without its paragraph mark.
  LONG LineLength(LONG position);

private:
  void ContentsChanged(int position);
  // Makes firstLine_ valid for every block up to (and including) this block number.
  void ExtendTo(int blockNumber);
  int LinesOf(const QTextBlock& block) const;
  // Laid out first.
  QTextLine LineAt(const QTextBlock& block, LONG position) const;
  QTextLine LineOf(const QTextBlock& block, int index) const;

  QTextDocument* document_ = nullptr;
  // firstLine_[b] is the first display line of block b, valid for b < valid_; one more
  // entry than valid blocks holds the line after them.
  std::vector<LONG> firstLine_;
  int valid_ = 0;
};
