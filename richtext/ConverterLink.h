#pragma once
// What the converter's two callbacks work on. The converter interface passes no context to
// its callbacks, so the running conversion's transfer block, exchange and progress record
// are statics, set before the converter thread starts and cleared after it ended; between
// the two only the converter thread touches them. Plain C++: it runs on the worker thread.

#include "textconv.h"

#include <atomic>
#include <cstdint>
#include <string>

class ExchangeStream;
class StreamManager;

// The progress of a converted load, written by the converter thread, read by the editor's.
struct ConverterProgress {
  std::atomic<bool> wanted{false};
  std::atomic<std::int64_t> total{0};
  std::atomic<std::int64_t> done{0};
  std::atomic<int> percent{-1};
  std::atomic<bool> changed{true};
};

class ConverterLink {
public:
  static void Open(TcHandle buffer, StreamManager* exchange, ConverterProgress* progress);
  static void Close();

  // Why the last conversion failed; empty when it did not (or has not ended).
  static std::string& ExceptionMsg();
  // Export: the converter was handed the end of the data.
  static bool EndReached();

  // Import: the converter hands over bytes of RTF from the transfer block.
  static std::int32_t WriteOutFromConverter(std::int32_t bytes, std::int32_t percent);
  // Export: the converter asks for the next bytes of RTF in the transfer block; 0 at the end.
  static std::int32_t ReadInToConverter(std::int32_t bytes, std::int32_t percent);

private:
  static std::int32_t WriteOut(std::int32_t bytes);
  static std::int32_t ReadIn();
  static void Progress(std::int32_t bytes);
};
