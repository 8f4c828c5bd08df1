#include "DecodeRefusal.h"

namespace {
thread_local DecodeRefusal* innermost = nullptr;
}

DecodeRefusal::DecodeRefusal() : outer_(innermost) { innermost = this; }

DecodeRefusal::~DecodeRefusal() { innermost = outer_; }

void DecodeRefusal::Report(const QString& reason) {
  if (innermost) innermost->reason_ = reason;
}
