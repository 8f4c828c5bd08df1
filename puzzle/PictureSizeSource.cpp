#include "PictureSizeSource.h"

PictureSizeSource::~PictureSizeSource() = default;

VirtualBuffer* PictureSizeSource::LivePicture() { return nullptr; }
