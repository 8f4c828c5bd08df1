#pragma once
// The picture rectangles that changed in one animation step or table update, so that shading
// and redrawing touch only those. When their areas add up to more than the picture, the list
// becomes the whole picture.

#include <QRect>

#include <cstdint>
#include <vector>

class VideoFrameRegions {
public:
  VideoFrameRegions();

  // Inclusive corners in picture coordinates. The rectangle is clipped to the current
  // puzzle's picture; (0, 0, 0, 0), an empty result and a missing puzzle add nothing.
  void Add(int left, int top, int right, int bottom);
  void Clear();
  // The list becomes the whole picture of the current puzzle.
  void SetWholeFrame();

  bool IsWholeFrame() const { return wholeFrame_; }
  int Count() const { return int(rectangles_.size()); }
  const QRect& Rectangle(int index) const { return rectangles_[index]; }
  const std::vector<QRect>& Rectangles() const { return rectangles_; }

private:
  bool TakeFrameSize();
  void BecomeWholeFrame();

  static constexpr int GrowStep = 10;

  std::vector<QRect> rectangles_;
  bool wholeFrame_ = false;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  std::int64_t frameArea_ = 0;
  std::int64_t areaSum_ = 0;
};
