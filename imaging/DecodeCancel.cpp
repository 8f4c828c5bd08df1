#include "DecodeCancel.h"

namespace {
thread_local DecodeCancel* innermost = nullptr;
}

DecodeCancel::DecodeCancel(std::function<bool()> requested)
    : requested_(std::move(requested)), outer_(innermost) {
  innermost = this;
}

DecodeCancel::~DecodeCancel() { innermost = outer_; }

// Asked from inside the decoder's C frames, which no exception may cross: a check that
// fails stops the decode.
bool DecodeCancel::Requested() {
  const DecodeCancel* check = innermost;
  if (!check || !check->requested_) return false;
  try {
    return check->requested_();
  } catch (...) {
    return true;
  }
}
