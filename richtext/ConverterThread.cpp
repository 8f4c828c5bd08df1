#include "ConverterThread.h"

#include "ConverterLink.h"
#include "StreamManager.h"

#include <stdexcept>
#include <string>

namespace {
const char* const ConversionError = "Error occurred during file conversion.";
}

ConverterThread::ConverterThread(const Call& call, Direction direction, StreamManager& exchange)
    : call_(call), direction_(direction), exchange_(exchange), thread_(&ConverterThread::Execute, this) {}

ConverterThread::~ConverterThread() { Join(); }

TcResult ConverterThread::Convert() {
  // A module prepared only to recognise files may lack the entry point: that conversion fails.
  if ((direction_ == Import && !call_.foreignToRtf) || (direction_ == Export && !call_.rtfToForeign))
    throw std::runtime_error("the converter has no entry point for this conversion");
  if (direction_ == Import)
    return call_.foreignToRtf(call_.file, nullptr, call_.buffer, call_.className, call_.subset,
                              &ConverterLink::WriteOutFromConverter);
  return call_.rtfToForeign(call_.file, nullptr, call_.buffer, call_.className, &ConverterLink::ReadInToConverter);
}

void ConverterThread::Execute() {
  std::string& message = ConverterLink::ExceptionMsg();
  try {
    const TcResult result = Convert();
    // A converter that could not do its work must not pass for an empty success; a message
    // a callback kept says more than the code.
    if (result < 0 && message.empty()) {
      message = ConversionError;
      message += "  Code=";
      message += std::to_string(result);
    }
  } catch (...) {
    message = ConversionError;
  }
  // An exporter that returned early must not leave the editor's side waiting for a stream
  // it will never give back; an importer's data and end marker stay ahead of the abort.
  if (direction_ == Export) exchange_.Abort();
  try {
    exchange_.QueueEmptyStream();
  } catch (...) {
    // The other side stopped long ago; the exchange is aborted now.
  }
  exchange_.Abort();
  std::lock_guard<std::mutex> hold(lock_);
  dead_ = true;
  deadEvent_.notify_all();
}

bool ConverterThread::WaitForEnd(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> hold(lock_);
  return deadEvent_.wait_for(hold, limit, [this] { return dead_; });
}

void ConverterThread::Join() {
  if (thread_.joinable()) thread_.join();
}

void ConverterThread::Detach() {
  if (thread_.joinable()) thread_.detach();
}
