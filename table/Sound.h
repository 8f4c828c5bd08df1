#pragma once
// A WAVE sound played from memory through the audio device that all sounds share. Made, played
// and deleted on the main thread; a sound that cannot play stays silent and says so in the log.

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>

class AudioChunk;

class Sound : public QObject {
public:
  // Plays the caller's WAVE image (a copy of the array is kept).
  Sound(const QByteArray& wave, QObject* owner);
  ~Sound() override;

  // Called on the main thread, by a queued call, when a play ends by itself; never after the
  // sound is deleted. Taken as set at Play. It may delete the sound.
  std::function<void()> OnDone;

  // Starts the sound from its beginning; false when it cannot play.
  virtual bool Play();
  // Whether the audio device is open; it is shared by all sounds and closes with the last one.
  static bool IsInstalled();

protected:
  // For variants that fill the data themselves; their constructor runs Init.
  explicit Sound(QObject* owner);
  // Fills data; the image given to the constructor is already there.
  virtual bool LoadData();
  // Opens the device for the first sound, loads the data and decodes it for playing.
  void Init();

  QByteArray data;  // the WAVE image, kept in memory

private:
  bool loaded = false;
  std::unique_ptr<AudioChunk> chunk;
  static int liveCount;
};
