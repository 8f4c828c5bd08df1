#pragma once
// A large block of memory straight from the system: zero-filled, returned to the system when
// freed, and backed by huge pages where the kernel allows it, so that touching it the first
// time costs a few faults instead of one per 4 KiB page.

#include <cstddef>

class PageBlock {
public:
  // Empty when the system refuses.
  explicit PageBlock(std::size_t bytes);
  ~PageBlock();
  PageBlock(const PageBlock&) = delete;
  PageBlock& operator=(const PageBlock&) = delete;

  void* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  bool IsEmpty() const { return data_ == nullptr; }

private:
  void* base_ = nullptr;
  std::size_t mapped_ = 0;
  void* data_ = nullptr;
  std::size_t size_ = 0;
};
