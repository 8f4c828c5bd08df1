#include "SoundEffect.h"

#include "Yelk/TMsgLog.h"
#include "controls/Artwork.h"

#include <QFile>

SoundEffect::SoundEffect(int resourceId, QObject* owner) : Sound(owner), resourceId(resourceId) {
  Init();
}

bool SoundEffect::LoadData() {
  QFile resource(Artwork::SoundPath(resourceId));
  if (!resource.open(QIODevice::ReadOnly)) {
    TMsgLog::Add("Sound Effect: FindRes failure: " + resource.errorString());
    return false;
  }
  data = resource.readAll();
  if (resource.error() != QFileDevice::NoError) {
    TMsgLog::Add("Sound Effect: LoadRes failure: " + resource.errorString());
    return false;
  }
  if (data.isEmpty()) {
    TMsgLog::Add("Sound Effect: Size failure: " + resource.fileName() + " is empty");
    return false;
  }
  return true;
}
