#pragma once
// Caps Lock state, which Qt does not report. On X11 it is read from the keyboard
// extension; elsewhere Caps Lock key presses are tracked from the moment of the first call.

#include <functional>

class KeyboardLocks {
public:
  static bool CapsLockIsOn();
  // Replaces the source (tests); an empty function restores the platform's.
  static void SetCapsLockSource(std::function<bool()> source);
};
