#pragma once
// Why a picture was refused, for the player. While one of these exists on a thread, the
// decoders of that thread leave in it the reason of their last refusal ("JPEG error: more
// than 64 scans"), so that a caller far above the decode can show the reason beside its own
// message. A cancelled decode is no refusal and leaves nothing.

#include <QString>

class DecodeRefusal {
public:
  DecodeRefusal();
  ~DecodeRefusal();
  DecodeRefusal(const DecodeRefusal&) = delete;
  DecodeRefusal& operator=(const DecodeRefusal&) = delete;

  // The reason of the last refusal on this thread within this scope; empty when none.
  const QString& Reason() const { return reason_; }

  // Called by the decoders: the innermost scope of this thread keeps the reason.
  static void Report(const QString& reason);

private:
  QString reason_;
  DecodeRefusal* outer_;
};
