#pragma once
// A sound from the game's own WAVE resources (8000 join, 8001 turn, 8002 applause).

#include "Sound.h"

class SoundEffect : public Sound {
public:
  SoundEffect(int resourceId, QObject* owner);

protected:
  bool LoadData() override;

private:
  int resourceId;
};
