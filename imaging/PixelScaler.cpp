#include "PixelScaler.h"

#include "PictureRows.h"

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <vector>

void PixelScaler::Resample(const RasterImage& source, const RasterImage& target, bool smooth) {
  if (!source.pixels || !target.pixels) return;
  if (smooth)
    Smooth(source, target);
  else
    Nearest(source, target);
}

void PixelScaler::Nearest(const RasterImage& source, const RasterImage& target) {
  std::vector<int> column(static_cast<std::size_t>(target.width));
  for (int x = 0; x < target.width; ++x)
    column[x] = static_cast<int>(std::int64_t(x) * source.width / target.width);
  for (int y = 0; y < target.height; ++y) {
    const std::uint32_t* from = source.Row(static_cast<int>(std::int64_t(y) * source.height / target.height));
    std::uint32_t* to = target.Row(y);
    for (int x = 0; x < target.width; ++x) to[x] = from[column[x]];
  }
}

void PixelScaler::Smooth(const RasterImage& source, const RasterImage& target) {
  // Both pictures are bottom-up alike, and the filter treats up and down the same, so the
  // memory is scaled as it lies.
  const QImage view(reinterpret_cast<const uchar*>(source.pixels), source.width, source.height,
                    source.width * 4, QImage::Format_RGB32);
  QImage scaled = view.scaled(target.width, target.height, Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
  if (scaled.format() != QImage::Format_RGB32) scaled.convertTo(QImage::Format_RGB32);
  if (scaled.width() != target.width || scaled.height() != target.height) return;
  for (int y = 0; y < target.height; ++y)
    StorePictureRow(reinterpret_cast<const std::uint32_t*>(scaled.constScanLine(y)),
                    target.pixels + static_cast<std::ptrdiff_t>(y) * target.width, target.width);
}

void PixelScaler::Magnify(const RasterImage& source, int sx, int sy, const RasterImage& target) {
  if (!source.pixels || !target.pixels) return;
  // Target columns [x0, x1) and rows [y0, y1) have their source inside the source picture.
  const auto first = [](int s) { return static_cast<int>(std::clamp<std::int64_t>(-2 * std::int64_t(s), 0, INT32_MAX)); };
  const auto last = [](int s, int sourceSide, int targetSide) {
    return static_cast<int>(std::clamp<std::int64_t>(2 * (std::int64_t(sourceSide) - s), 0, targetSide));
  };
  const int x0 = first(sx), x1 = last(sx, source.width, target.width);
  const int y0 = first(sy), y1 = last(sy, source.height, target.height);
  for (int y = y0; y < y1; ++y) {
    const std::uint32_t* from = source.Row(sy + y / 2);
    std::uint32_t* to = target.Row(y);
    for (int x = x0; x < x1; ++x) to[x] = from[sx + x / 2];
  }
}
