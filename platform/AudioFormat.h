#pragma once
// The sample format the audio device plays, which the mixer converts every sound to.

struct AudioFormat {
  int rate = 44100;        // frames per second
  int channels = 2;
  int bytesPerSample = 2;  // signed 16-bit
};
