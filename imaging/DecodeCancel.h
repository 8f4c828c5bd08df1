#pragma once
// A way to stop a long picture decode from above: while one of these exists on a thread,
// the JPEG decodes of that thread ask it now and then whether to stop. The puzzle load
// sets one up with the loading window's cancel check, so that Esc ends a picture that
// takes long to take in; the open dialog's preview thread with the flag the dialog sets
// when the picture is no longer wanted. Other threads, and decodes outside such a scope,
// run to the end.

#include <functional>

class DecodeCancel {
public:
  // requested: answers whether to stop; it may let pending events through. One that throws
  // counts as a request to stop.
  explicit DecodeCancel(std::function<bool()> requested);
  ~DecodeCancel();
  DecodeCancel(const DecodeCancel&) = delete;
  DecodeCancel& operator=(const DecodeCancel&) = delete;

  // The innermost check of this thread; false when there is none.
  static bool Requested();

private:
  std::function<bool()> requested_;
  DecodeCancel* outer_;
};
