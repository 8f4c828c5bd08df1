#pragma once
// Where the cutting code and the changed-region lists learn the size of the picture being
// played. The puzzle object answers it; tests and tools answer it with a fixed size.
// The current source is the picture of the puzzle being played, or null when there is none.

#include "Yelk/CurrentInstance.h"

#include <QSize>

class VirtualBuffer;

class PictureSizeSource : public CurrentInstance<PictureSizeSource> {
public:
  virtual ~PictureSizeSource();

  // The picture's play size in pixels; empty when it cannot be told.
  virtual QSize GetImageSize() = 0;
  // The live picture the pieces show, or null when there is none to show.
  virtual VirtualBuffer* LivePicture();
};
