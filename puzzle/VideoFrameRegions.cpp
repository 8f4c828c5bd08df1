#include "VideoFrameRegions.h"

#include "PictureSizeSource.h"

#include <algorithm>

VideoFrameRegions::VideoFrameRegions() { rectangles_.reserve(GrowStep); }

void VideoFrameRegions::Add(int left, int top, int right, int bottom) {
  if (wholeFrame_ || (left == 0 && top == 0 && right == 0 && bottom == 0)) return;
  if (frameArea_ == 0 && !TakeFrameSize()) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, frameWidth_ - 1);
  bottom = std::min(bottom, frameHeight_ - 1);
  if (left > right || top > bottom) return;

  areaSum_ += std::int64_t(right - left + 1) * (bottom - top + 1);
  if (areaSum_ > frameArea_) {
    BecomeWholeFrame();
    return;
  }
  if (rectangles_.size() == rectangles_.capacity())
    rectangles_.reserve(rectangles_.size() + GrowStep);
  rectangles_.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void VideoFrameRegions::Clear() {
  rectangles_.clear();
  wholeFrame_ = false;
  frameWidth_ = frameHeight_ = 0;
  frameArea_ = areaSum_ = 0;
}

void VideoFrameRegions::SetWholeFrame() {
  if (!TakeFrameSize()) {
    frameWidth_ = frameHeight_ = 0;
    frameArea_ = 0;
  }
  BecomeWholeFrame();
}

bool VideoFrameRegions::TakeFrameSize() {
  PictureSizeSource* picture = PictureSizeSource::Current();
  const QSize size = picture ? picture->GetImageSize() : QSize();
  if (size.width() <= 0 || size.height() <= 0) return false;
  frameWidth_ = size.width();
  frameHeight_ = size.height();
  frameArea_ = std::int64_t(frameWidth_) * frameHeight_;
  return true;
}

// Shading and redrawing then cover everything, not just the rectangles stored so far.
void VideoFrameRegions::BecomeWholeFrame() {
  rectangles_.clear();
  if (frameWidth_ > 0 && frameHeight_ > 0)
    rectangles_.push_back(QRect(0, 0, frameWidth_, frameHeight_));
  wholeFrame_ = true;
}
