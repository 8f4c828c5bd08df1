#include "ConverterLink.h"

#include "StreamManager.h"

#include <algorithm>
#include <exception>

namespace {

// At most this much RTF goes to the converter per call, whatever the block's size.
constexpr std::size_t ExportChunk = 4096;

struct State {
  TcHandle buffer = nullptr;
  StreamManager* exchange = nullptr;
  ConverterProgress* progress = nullptr;
  ExchangeStream* stream = nullptr;  // the export stream being handed over
  std::size_t bytesLeft = 0;
  bool inProgress = false;
  bool endReached = false;
  std::string exceptionMsg;
};

State& S() {
  static State state;
  return state;
}

// Unlocks the block on every way out of a callback.
class Locked {
public:
  explicit Locked(TcHandle block) : block_(block), bytes_(static_cast<unsigned char*>(TcBlockLock(block))) {}
  ~Locked() {
    if (bytes_ != nullptr) TcBlockUnlock(block_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  unsigned char* Bytes() const { return bytes_; }

private:
  TcHandle block_;
  unsigned char* bytes_;
};

}  // namespace

void ConverterLink::Open(TcHandle buffer, StreamManager* exchange, ConverterProgress* progress) {
  State& s = S();
  s.buffer = buffer;
  s.exchange = exchange;
  s.progress = progress;
  s.stream = nullptr;
  s.bytesLeft = 0;
  s.inProgress = false;
  s.endReached = false;
  s.exceptionMsg.clear();
}

void ConverterLink::Close() {
  const std::string kept = std::move(S().exceptionMsg);
  const bool ended = S().endReached;
  Open(nullptr, nullptr, nullptr);
  S().exceptionMsg = kept;
  S().endReached = ended;
}

bool ConverterLink::EndReached() { return S().endReached; }

std::string& ConverterLink::ExceptionMsg() { return S().exceptionMsg; }

void ConverterLink::Progress(std::int32_t bytes) {
  ConverterProgress* p = S().progress;
  if (p == nullptr || !p->wanted) return;
  // 64-bit: the estimated total of a file of a few kilobytes overflows 32 bits already.
  const std::int64_t total = p->total;
  const std::int64_t done = p->done;
  if (total > 0) {
    const int percent = static_cast<int>(std::min<std::int64_t>(100, (done * 100 + total / 2) / total));
    p->changed = percent != p->percent;
    p->percent = percent;
  }
  p->done = done + bytes;
}

std::int32_t ConverterLink::WriteOut(std::int32_t bytes) {
  State& s = S();
  if (bytes == 0) return 0;
  if (bytes < 0 || static_cast<std::size_t>(bytes) > TcBlockSize(s.buffer) || s.exchange == nullptr)
    return TcCallbackStop;
  ExchangeStream* stream = s.exchange->GetFreeStream();
  if (stream == nullptr) return TcCallbackStop;
  const Locked block(s.buffer);
  if (block.Bytes() == nullptr) {
    s.exchange->ReleaseStream(stream);
    return TcCallbackStop;
  }
  stream->Write(block.Bytes(), static_cast<std::size_t>(bytes));
  Progress(bytes);
  s.exchange->QueueStream(stream);
  return 0;
}

std::int32_t ConverterLink::ReadIn() {
  State& s = S();
  if (s.exchange == nullptr) return TcCallbackStop;
  const bool starting = !s.inProgress;
  if (starting) {
    s.stream = s.exchange->DequeueStream();
    if (s.stream == nullptr) return TcCallbackStop;
  }
  if (s.stream->Size() == 0) {
    s.exchange->ReleaseStream(s.stream);
    s.stream = nullptr;
    s.endReached = true;
    return 0;
  }
  const Locked block(s.buffer);
  if (block.Bytes() == nullptr || TcBlockSize(s.buffer) == 0) return TcCallbackStop;
  if (starting) s.bytesLeft = s.stream->Size();
  const std::size_t read = s.stream->Read(block.Bytes(), std::min(ExportChunk, TcBlockSize(s.buffer)));
  s.bytesLeft -= std::min(read, s.bytesLeft);
  s.inProgress = s.bytesLeft > 0;
  if (!s.inProgress) {
    s.exchange->ReleaseStream(s.stream);
    s.stream = nullptr;
  }
  return static_cast<std::int32_t>(read);
}

std::int32_t ConverterLink::WriteOutFromConverter(std::int32_t bytes, std::int32_t) {
  try {
    return WriteOut(bytes);
  } catch (const std::exception& e) {
    S().exceptionMsg = e.what();
  } catch (...) {
  }
  return TcCallbackStop;
}

std::int32_t ConverterLink::ReadInToConverter(std::int32_t, std::int32_t) {
  try {
    return ReadIn();
  } catch (const std::exception& e) {
    S().exceptionMsg = e.what();
  } catch (...) {
  }
  return TcCallbackStop;
}
