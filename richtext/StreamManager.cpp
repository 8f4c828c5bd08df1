#include "StreamManager.h"

#include <algorithm>
#include <cstring>
#include <string>

void ExchangeStream::Write(const void* data, std::size_t count) {
  if (count == 0) return;
  if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, data, count);
  position_ += count;
}

std::size_t ExchangeStream::Read(void* data, std::size_t count) {
  const std::size_t n = std::min(count, bytes_.size() - std::min(position_, bytes_.size()));
  if (n > 0) std::memcpy(data, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

void ExchangeStream::Clear() {
  std::vector<unsigned char>().swap(bytes_);
  position_ = 0;
}

StreamManager::StreamManager(Wait wait) : freeList_{&streams_[0], &streams_[1]}, wait_(wait) {}

ExchangeStream* StreamManager::Take(std::deque<ExchangeStream*>& list, std::condition_variable& event,
                                    bool drain, const char* side) {
  std::unique_lock<std::mutex> hold(lock_);
  const auto ready = [&] { return aborted_ || !list.empty(); };
  if (!event.wait_for(hold, wait_, ready)) {
    // The other side stopped: both sides end, and nothing is freed under the other's feet.
    aborted_ = true;
    freeEvent_.notify_all();
    readyEvent_.notify_all();
    throw StreamError(std::string("Bad ") + side + ".  RC = 1");
  }
  if (aborted_ && !(drain && !list.empty())) return nullptr;
  ExchangeStream* stream = list.front();
  list.pop_front();
  return stream;
}

ExchangeStream* StreamManager::GetFreeStream() { return Take(freeList_, freeEvent_, false, "GetFree"); }

ExchangeStream* StreamManager::DequeueStream() { return Take(readyList_, readyEvent_, true, "Dequeue"); }

void StreamManager::QueueStream(ExchangeStream* stream) {
  if (stream == nullptr) return;
  std::lock_guard<std::mutex> hold(lock_);
  if (aborted_) return;
  stream->Rewind();
  readyList_.push_back(stream);
  readyEvent_.notify_all();
}

void StreamManager::QueueEmptyStream() { QueueStream(GetFreeStream()); }

void StreamManager::ReleaseStream(ExchangeStream* stream) {
  if (stream == nullptr) return;
  std::lock_guard<std::mutex> hold(lock_);
  stream->Clear();
  freeList_.push_back(stream);
  freeEvent_.notify_all();
}

void StreamManager::Abort() {
  std::lock_guard<std::mutex> hold(lock_);
  aborted_ = true;
  freeEvent_.notify_all();
  readyEvent_.notify_all();
}

bool StreamManager::Aborted() const {
  std::lock_guard<std::mutex> hold(lock_);
  return aborted_;
}
