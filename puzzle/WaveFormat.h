#pragma once
// A WAVE image's format chunk as the audio library reads it, and the memory the mixer takes to
// decode the samples and convert them to the device's format, all on the main thread when the
// track is first played. The library trusts the chunk's values: a rate of 1 Hz asks it for a
// buffer 44,100 times the track (an int that wraps and a crash in the conversion), so the
// values are bounded here first.

#include "platform/AudioFormat.h"

#include <QString>
#include <QtGlobal>

class WaveFormat {
public:
  // The encodings the mixer decodes (the sub-formats of an extensible chunk too).
  enum Encoding { Pcm = 1, MsAdpcm = 2, Float = 3, ALaw = 6, MuLaw = 7, ImaAdpcm = 0x11, Extensible = 0xFFFE };
  // From telephone and old sampler rates to the highest studio rate ordinary recorders and
  // sound cards use; 7.1 surround, the most channels a player maps to speakers.
  static constexpr qint64 MinRate = 4000, MaxRate = 192000;
  static constexpr int MaxChannels = 8;
  // The most the mixer may hold while it converts one track: twelve minutes of CD sound played
  // as it is, six at another rate, and about half a second of work on the main thread at load.
  static constexpr qint64 MaxConvertedBytes = qint64(128) << 20;

  // Empty when the chunk's body holds a format the mixer reads, within the bounds above; else
  // what is wrong, in a few words.
  QString Read(const unsigned char* body, qint64 length);
  int BlockAlign() const { return blockAlign_; }
  // Empty when the mixer decodes the sound data's blocks; else what is wrong.
  QString CheckBlocks(const unsigned char* data, qint64 length) const;
  // The most sample frames that many bytes of sound data decode to.
  qint64 Frames(qint64 dataBytes) const;
  // The most bytes the mixer holds at once while it decodes that many frames and converts them
  // to `output`: its working buffer holds every sample as a 32-bit float, at the larger channel
  // count and at the higher rate rounded up to a whole multiple, as the library sizes it.
  qint64 ConvertedBytes(qint64 frames, const AudioFormat& output) const;

private:
  QString ReadExtensible(const unsigned char* body, qint64 length);
  QString CheckSamples(const unsigned char* body, qint64 length);
  // Sample frames in one block of the ADPCM encodings, at most.
  qint64 AdpcmFrames() const;
  // Bytes per sample once decoded, before any conversion.
  int DecodedBytes() const;

  int encoding_ = 0;
  int channels_ = 0;
  qint64 rate_ = 0;
  int blockAlign_ = 0;
  int bits_ = 0;
  int coefficients_ = 0;  // of MS ADPCM
};
