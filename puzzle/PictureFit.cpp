#include "PictureFit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int Margin = 20;

int Rounded(double side) { return std::max(1, static_cast<int>(side + 0.5)); }

}  // namespace

PictureFit PictureFit::Compute(int width, int height, int areaWidth, int areaHeight,
                               int maxPercentage) {
  PictureFit fit;
  if (width <= 0 || height <= 0 || areaWidth <= Margin || areaHeight <= Margin) return fit;
  const std::int64_t dx = std::max<std::int64_t>(std::int64_t(width) + Margin - areaWidth, 0);
  const std::int64_t dy = std::max<std::int64_t>(std::int64_t(height) + Margin - areaHeight, 0);
  // A picture that fits with its margin plays at full size, however much it covers.
  if (dx == 0 && dy == 0) return fit;
  fit.ToMargin(width, height, areaWidth, areaHeight);
  fit.ToCoverage(areaWidth, areaHeight, maxPercentage);
  fit.scaled = true;
  return fit;
}

PictureFit PictureFit::ComputeCovering(int width, int height, int areaWidth, int areaHeight,
                                       int maxPercentage) {
  PictureFit fit = Compute(width, height, areaWidth, areaHeight, maxPercentage);
  if (fit.scaled || width <= 0 || height <= 0 || areaWidth <= Margin || areaHeight <= Margin) return fit;
  fit.playWidth = width;
  fit.playHeight = height;
  fit.ToCoverage(areaWidth, areaHeight, maxPercentage);
  fit.scaled = fit.playWidth != width || fit.playHeight != height;
  return fit;
}

void PictureFit::ToMargin(int width, int height, int areaWidth, int areaHeight) {
  const float sx = float(std::min(areaWidth - Margin, width)) / float(width);
  const float sy = float(std::min(areaHeight - Margin, height)) / float(height);
  scale = std::min(sx, sy);
  playWidth = Rounded(double(width) * scale);
  playHeight = Rounded(double(height) * scale);
}

// Sizes are multiplied in 64 bits: a large picture's pixels times 100 overflow 32.
void PictureFit::ToCoverage(int areaWidth, int areaHeight, int maxPercentage) {
  const std::int64_t pixels = std::int64_t(playWidth) * playHeight;
  const std::int64_t area = std::int64_t(areaWidth) * areaHeight;
  if (pixels * 100 / area <= maxPercentage) return;
  const double factor = std::sqrt(double(maxPercentage) * double(area) / (double(pixels) * 100.0));
  scale = float(factor);
  playWidth = Rounded(playWidth * factor);
  playHeight = Rounded(playHeight * factor);
}
