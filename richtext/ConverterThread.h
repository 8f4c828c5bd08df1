#pragma once
// Runs one conversion call of a text converter on a worker thread, so that the editor's
// stream callbacks on the user-interface thread and the converter's callbacks on this one
// meet only through the exchange. The owner waits for its end with a bound and joins it.
// Plain C++ over the standard library.

#include "textconv.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class StreamManager;

class ConverterThread {
public:
  enum Direction : std::uint8_t { Import = 0, Export = 1 };

  // What the conversion call is given: the loaded converter's entry points and blocks.
  struct Call {
    TcForeignToRtf foreignToRtf = nullptr;
    TcRtfToForeign rtfToForeign = nullptr;
    TcHandle file = nullptr;
    TcHandle buffer = nullptr;
    TcHandle className = nullptr;
    TcHandle subset = nullptr;
  };

  // Starts at once. The converter link (ConverterLink) must be open.
  ConverterThread(const Call& call, Direction direction, StreamManager& exchange);
  // Joins: a thread still inside its converter must be Detach-ed instead.
  ~ConverterThread();
  ConverterThread(const ConverterThread&) = delete;
  ConverterThread& operator=(const ConverterThread&) = delete;

  // True once the conversion call has returned and the end marker was queued.
  bool WaitForEnd(std::chrono::milliseconds limit);
  void Join();
  // Leaves a thread that never ended running on its own; this object must then stay
  // allocated for good, since the thread still uses it.
  void Detach();

private:
  void Execute();
  TcResult Convert();

  const Call call_;
  const Direction direction_;
  StreamManager& exchange_;
  std::mutex lock_;
  std::condition_variable deadEvent_;
  bool dead_ = false;
  std::thread thread_;
};
