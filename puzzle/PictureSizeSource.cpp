#include "PictureSizeSource.h"

namespace {

PictureSizeSource* current = nullptr;

}  // namespace

PictureSizeSource::~PictureSizeSource() {
  if (current == this) current = nullptr;
}

PictureSizeSource* PictureSizeSource::Current() { return current; }

void PictureSizeSource::SetCurrent(PictureSizeSource* source) { current = source; }

VirtualBuffer* PictureSizeSource::LivePicture() { return nullptr; }
