#include "Sound.h"

#include "Yelk/TMsgLog.h"
#include "platform/AudioChunk.h"
#include "platform/AudioDevice.h"

#include <exception>

int Sound::liveCount = 0;

namespace {
// A machine without sound says so once, not at every sound it makes.
bool installFailureLogged = false;

void Install() {
  QString error;
  if (AudioDevice::Open(&error) || installFailureLogged) return;
  installFailureLogged = true;
  TMsgLog::Add("Sound Effect:  Failed to install.  " + error);
}
}  // namespace

Sound::Sound(QObject* owner) : QObject(owner) { ++liveCount; }

Sound::Sound(const QByteArray& wave, QObject* owner) : Sound(owner) {
  data = wave;
  Init();
}

Sound::~Sound() {
  OnDone = nullptr;
  chunk.reset();  // stops a play without its notice
  if (--liveCount == 0 && IsInstalled()) AudioDevice::Close();
}

bool Sound::IsInstalled() { return AudioDevice::IsOpen(); }

bool Sound::LoadData() { return true; }

void Sound::Init() {
  if (!IsInstalled()) Install();
  loaded = LoadData();
  if (!loaded || !IsInstalled()) return;
  QString error;
  chunk = AudioChunk::FromWave(data.constData(), std::size_t(data.size()), &error);
  if (chunk) return;
  TMsgLog::Add("Failed to create sound effect: " + error);
  loaded = false;
}

bool Sound::Play() {
  if (!IsInstalled() || !loaded || !chunk) return false;
  std::function<void()> done;
  if (OnDone) {
    // A copy: the handler may delete this sound, and with it OnDone.
    done = [handler = OnDone] {
      try {
        handler();
      } catch (const std::exception& e) {
        TMsgLog::Add(QString("Sound::OnDone failure:  ") + e.what());
      }
    };
  }
  QString error;
  if (chunk->Play(std::move(done), &error)) return true;
  TMsgLog::Add("Sound::Play failure:  " + error);
  return false;
}
