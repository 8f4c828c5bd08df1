#include "PageBlock.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

std::size_t WholeHugePages(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }

}  // namespace

PageBlock::PageBlock(std::size_t bytes) {
  if (bytes == 0 || bytes > SIZE_MAX / 2) return;
  // One huge page more than needed, so that the block can start on a huge-page boundary.
  const std::size_t mapped = WholeHugePages(bytes) + HugePage;
  void* base = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return;
  const auto start = (reinterpret_cast<std::uintptr_t>(base) + HugePage - 1) & ~std::uintptr_t(HugePage - 1);
  base_ = base;
  mapped_ = mapped;
  data_ = reinterpret_cast<void*>(start);
  size_ = bytes;
  // Only a hint: without transparent huge pages the block is ordinary memory.
  madvise(data_, WholeHugePages(bytes), MADV_HUGEPAGE);
}

PageBlock::~PageBlock() {
  if (base_) munmap(base_, mapped_);
}
