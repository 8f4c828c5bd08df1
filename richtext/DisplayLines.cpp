#include "DisplayLines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

DisplayLines::DisplayLines(QObject* parent) : QObject(parent) {}

void DisplayLines::SetDocument(QTextDocument* document) {
  if (document_ != nullptr) disconnect(document_, nullptr, this, nullptr);
  document_ = document;
  valid_ = 0;
  if (document_ != nullptr)
    connect(document_, &QTextDocument::contentsChange, this, [this](int position, int, int) { ContentsChanged(position); });
}

void DisplayLines::ContentsChanged(int position) {
  // A change in a paragraph re-wraps that paragraph only; the ones before keep their lines.
  const int block = document_->findBlock(position).blockNumber();
  valid_ = std::min(valid_, std::max(block, 0));
}

int DisplayLines::LinesOf(const QTextBlock& block) const {
  // Asking for the block's box lays the document out up to it.
  document_->documentLayout()->blockBoundingRect(block);
  const QTextLayout* layout = block.layout();
  return layout == nullptr ? 1 : std::max(layout->lineCount(), 1);
}

QTextLine DisplayLines::LineAt(const QTextBlock& block, LONG position) const {
  document_->documentLayout()->blockBoundingRect(block);
  const QTextLayout* layout = block.layout();
  return layout == nullptr ? QTextLine() : layout->lineForTextPosition(position - block.position());
}

QTextLine DisplayLines::LineOf(const QTextBlock& block, int index) const {
  document_->documentLayout()->blockBoundingRect(block);
  const QTextLayout* layout = block.layout();
  return layout == nullptr || index >= layout->lineCount() ? QTextLine() : layout->lineAt(index);
}

void DisplayLines::ExtendTo(int blockNumber) {
  if (blockNumber < valid_) return;
  firstLine_.resize(static_cast<size_t>(document_->blockCount()) + 1);
  if (valid_ == 0) firstLine_[0] = 0;
  QTextBlock block = document_->findBlockByNumber(valid_);
  for (; block.isValid() && valid_ <= blockNumber; block = block.next(), ++valid_)
    firstLine_[static_cast<size_t>(valid_) + 1] = firstLine_[static_cast<size_t>(valid_)] + LinesOf(block);
}

LONG DisplayLines::Count() {
  if (document_ == nullptr) return 1;
  const int last = document_->blockCount() - 1;
  ExtendTo(last);
  return std::max<LONG>(firstLine_[static_cast<size_t>(last) + 1], 1);
}

LONG DisplayLines::LineFromPosition(LONG position) {
  if (document_ == nullptr) return 0;
  position = std::clamp<LONG>(position, 0, document_->characterCount() - 1);
  const QTextBlock block = document_->findBlock(position);
  ExtendTo(block.blockNumber());
  const QTextLine line = LineAt(block, position);
  return firstLine_[static_cast<size_t>(block.blockNumber())] + (line.isValid() ? line.lineNumber() : 0);
}

LONG DisplayLines::LineStart(LONG line) {
  if (document_ == nullptr || line < 0) return -1;
  // Lay out only as far as the line asked for.
  const int blocks = document_->blockCount();
  if (valid_ == 0) ExtendTo(0);
  while (valid_ < blocks && firstLine_[static_cast<size_t>(valid_)] <= line) ExtendTo(valid_);
  const auto begin = firstLine_.begin(), end = begin + valid_ + 1;
  const auto after = std::upper_bound(begin, end, line);
  if (after == end) return -1;
  const int blockNumber = static_cast<int>(after - begin) - 1;
  const QTextBlock block = document_->findBlockByNumber(blockNumber);
  const QTextLine start = LineOf(block, line - firstLine_[static_cast<size_t>(blockNumber)]);
  return block.position() + (start.isValid() ? start.textStart() : 0);
}

LONG DisplayLines::LineLength(LONG position) {
  if (document_ == nullptr) return 0;
  position = std::clamp<LONG>(position, 0, document_->characterCount() - 1);
  const QTextBlock block = document_->findBlock(position);
  ExtendTo(block.blockNumber());
  const QTextLine line = LineAt(block, position);
  return line.isValid() ? line.textLength() : block.length() - 1;
}
