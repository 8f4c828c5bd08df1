#pragma once
// Call stacks for exceptions. While enabled, every throw records the thrower's call stack
// (it is gone by the time a handler catches the exception), and the error report shows it.

#include <QStringList>

class TExcMagic {
public:
  static constexpr int MaxFrames = 20;
  // Option bit kept for the settings of older versions: it has no effect.
  static constexpr unsigned OwnErrorDialog = 0x20;

  void SetEnabled(bool on);
  bool Enabled() const;
  unsigned Options = OwnErrorDialog;

  // The demangled stack recorded when `thrown` was thrown on this thread; the thread's
  // last recorded throw when `thrown` is null or unknown; empty when none was recorded.
  static QStringList StackOf(const void* thrown);
  // The caller's own stack, at most MaxFrames frames, leaving out `skip` further callers.
  static QStringList CurrentStack(int skip = 0);
  // Forgets this thread's recorded throw.
  static void ClearRecorded();
};

namespace Excmagic {
extern TExcMagic* const ExceptionHook;
}
