#include "ChunkedBytes.h"

#include <algorithm>

namespace {
// Small at first, so that a short note does not take a large block.
constexpr qsizetype FirstBlock = 64 * 1024, LaterBlock = 1024 * 1024;
}  // namespace

void ChunkedBytes::Append(const char* data, qsizetype size) {
  if (size <= 0) return;
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < size) {
    blocks_.emplace_back();
    blocks_.back().reserve(std::max(blocks_.size() == 1 ? FirstBlock : LaterBlock, size));
  }
  blocks_.back().append(data, size);
  size_ += size;
}

QByteArray ChunkedBytes::Take() {
  QByteArray whole;
  whole.reserve(size_);
  for (const QByteArray& block : blocks_) whole.append(block);
  blocks_.clear();
  size_ = 0;
  return whole;
}

qint64 ChunkedSink::writeData(const char* data, qint64 size) {
  bytes_.Append(data, size);
  return size;
}
