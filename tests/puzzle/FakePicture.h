#pragma once
// A picture of a fixed size standing in for the puzzle; while alive it can be made the
// current puzzle's picture.

#include "puzzle/PictureSizeSource.h"

class FakePicture : public PictureSizeSource {
public:
  FakePicture(int width, int height, bool current = false) : size_(width, height) {
    if (current) SetCurrent(this);
  }
  QSize GetImageSize() override {
    ++asked;
    return size_;
  }
  int asked = 0;

private:
  QSize size_;
};
