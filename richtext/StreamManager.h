#pragma once
// The exchange between a converter thread and the editor's stream callbacks: two memory
// streams circulate between a free list and a ready list, so producer and consumer alternate
// with at most two chunks in flight. An empty ready stream marks the end of the data.
// Plain C++ over the standard library: it runs on two threads at once.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <vector>

// A growable byte stream with a position, as one chunk of the exchange.
class ExchangeStream {
public:
  void Write(const void* data, std::size_t count);
  // Up to count bytes from the position; the number read.
  std::size_t Read(void* data, std::size_t count);
  std::size_t Size() const { return bytes_.size(); }
  std::size_t Position() const { return position_; }
  void Rewind() { position_ = 0; }
  // Size, capacity and position back to 0.
  void Clear();

private:
  std::vector<unsigned char> bytes_;
  std::size_t position_ = 0;
};

// A side that waited too long for the other one.
class StreamError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class StreamManager {
public:
  using Wait = std::chrono::milliseconds;
  static constexpr Wait DefaultWait{180000};

  explicit StreamManager(Wait wait = DefaultWait);
  StreamManager(const StreamManager&) = delete;
  StreamManager& operator=(const StreamManager&) = delete;

  // Waits for a free stream; null once aborted. A wait that runs out aborts the exchange,
  // so that the other side stops too, and throws "Bad GetFree.  RC = 1".
  ExchangeStream* GetFreeStream();
  // Rewinds the stream and hands it to the consumer; dropped once aborted.
  void QueueStream(ExchangeStream* stream);
  // The end-of-data marker: a free stream queued as it is (a released stream is empty).
  void QueueEmptyStream();
  // Waits for the next ready stream, first in first out. Streams queued before an abort are
  // still handed out; after them, null. A wait that runs out throws "Bad Dequeue.  RC = 1".
  ExchangeStream* DequeueStream();
  // Empties the stream and gives it back to the producer.
  void ReleaseStream(ExchangeStream* stream);
  // Wakes every waiter; no more free streams are handed out nor ready ones accepted.
  void Abort();
  bool Aborted() const;

private:
  ExchangeStream* Take(std::deque<ExchangeStream*>& list, std::condition_variable& event,
                       bool drain, const char* side);

  ExchangeStream streams_[2];
  std::deque<ExchangeStream*> freeList_;
  std::deque<ExchangeStream*> readyList_;
  mutable std::mutex lock_;
  std::condition_variable freeEvent_;
  std::condition_variable readyEvent_;
  bool aborted_ = false;
  const Wait wait_;
};
