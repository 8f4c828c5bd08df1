#pragma once
// Where the cutting code and the changed-region lists learn the size of the picture being
// played. The puzzle object answers it; tests and tools answer it with a fixed size.

#include <QSize>

class VirtualBuffer;

class PictureSizeSource {
public:
  virtual ~PictureSizeSource();

  // The picture's play size in pixels; empty when it cannot be told.
  virtual QSize GetImageSize() = 0;
  // The live picture the pieces show, or null when there is none to show.
  virtual VirtualBuffer* LivePicture();

  // The picture of the current puzzle (the one being played), or null when there is none.
  static PictureSizeSource* Current();
  static void SetCurrent(PictureSizeSource* source);
};
