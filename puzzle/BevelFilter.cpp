#include "BevelFilter.h"

#include "platform/PageBlock.h"

namespace {

BevelFilter* current = nullptr;

}  // namespace

// Fresh zero-filled pages: one byte per picture pixel, written only along the piece edges.
BevelFilter::BevelFilter(VirtualBuffer* target, bool active, int height, int width)
    : active_(active), target_(target) {
  if (width < 1 || height < 1) return;
  block_ = std::make_unique<PageBlock>(std::size_t(width) * std::size_t(height));
  if (block_->IsEmpty()) return;
  map_ = static_cast<std::int8_t*>(block_->Data());
  width_ = width;
  height_ = height;
}

BevelFilter::~BevelFilter() {
  if (current == this) current = nullptr;
}

BevelFilter* BevelFilter::Current() { return current; }

void BevelFilter::SetCurrent(BevelFilter* filter) { current = filter; }
