#pragma once
// The one audio output of the process, through SDL's mixer. Opened on first use on the main
// thread and closed at the latest when the application object goes. Callers log the error text.

#include "AudioFormat.h"

#include <QString>

class AudioDevice {
public:
  // Opens SDL's audio and the mixer; true when already open. A device that failed to open is
  // not tried again in this process, so a machine without sound costs one attempt, not one per
  // sound. Needs the application object: finished sounds are reported through its event loop.
  static bool Open(QString* error = nullptr);
  static bool IsOpen();
  // The format the open device plays; before it opens, the one it is asked for. The device
  // may take another rate or channel count than asked.
  static AudioFormat Format();
  // Halts every channel, without finished notices, and closes the mixer; Open opens it afresh.
  static void Close();
};
