#include "BevelFilter.h"

#include "BevelRings.h"
#include "VideoFrameRegions.h"
#include "imaging/VirtualBuffer.h"
#include "platform/PageBlock.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Adds shading value v to one pixel (bytes B, G, R, 0): channels saturate at 255 and 0, and
// shade never takes blue below 1.
inline std::uint32_t ShadePixel(std::uint32_t pixel, int v) {
  if (v == 0) return pixel;
  const int b = int(pixel & 0xFF) + v, g = int((pixel >> 8) & 0xFF) + v,
            r = int((pixel >> 16) & 0xFF) + v;
  const int low = v < 0 ? 1 : 0;
  return (pixel & 0xFF000000u) | std::uint32_t(std::clamp(r, 0, 255)) << 16 |
         std::uint32_t(std::clamp(g, 0, 255)) << 8 | std::uint32_t(std::clamp(b, low, 255));
}

void ShadeRun(std::uint32_t* pixels, const std::int8_t* values, int count) {
  int x = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  const __m128i colourLanes = _mm_set1_epi32(0x00FFFFFF);
  const __m128i blueLane = _mm_set1_epi32(0x00000001);
  for (; x + 4 <= count; x += 4) {
    std::int32_t four;
    std::memcpy(&four, values + x, 4);
    if (four == 0) continue;
    __m128i v = _mm_cvtsi32_si128(four);
    v = _mm_unpacklo_epi8(v, v);
    v = _mm_unpacklo_epi16(v, v);  // each value in all four bytes of its pixel
    const __m128i shade = _mm_cmplt_epi8(v, zero);
    const __m128i lift = _mm_and_si128(_mm_andnot_si128(shade, v), colourLanes);
    const __m128i drop = _mm_and_si128(_mm_and_si128(shade, _mm_sub_epi8(zero, v)), colourLanes);
    const __m128i floor = _mm_and_si128(shade, blueLane);
    __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x));
    p = _mm_max_epu8(_mm_subs_epu8(_mm_adds_epu8(p, lift), drop), floor);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + x), p);
  }
#endif
  for (; x < count; ++x) pixels[x] = ShadePixel(pixels[x], values[x]);
}

}  // namespace

// Fresh zero-filled pages: one byte per picture pixel, written only along the piece edges.
BevelFilter::BevelFilter(VirtualBuffer* target, bool active, int height, int width)
    : active_(active), target_(target) {
  if (width < 1 || height < 1) return;
  block_ = std::make_unique<PageBlock>(std::size_t(width) * std::size_t(height));
  if (block_->IsEmpty()) return;
  map_ = static_cast<std::int8_t*>(block_->Data());
  width_ = width;
  height_ = height;
}

BevelFilter::~BevelFilter() = default;

bool BevelFilter::TargetFitsMap() const {
  return map_ && target_ && !target_->IsEmpty() && target_->width == width_ &&
         target_->height == height_;
}

void BevelFilter::Apply(const VideoFrameRegions& regions) {
  if (!active_ || !TargetFitsMap()) return;
  if (!unshaded_) {
    const std::size_t bytes = std::size_t(width_) * std::size_t(height_) * 4;
    unshadedBlock_ = std::make_unique<PageBlock>(bytes);
    if (unshadedBlock_->IsEmpty()) return;
    unshaded_ = std::make_unique<VirtualBuffer>(width_, height_, QStringLiteral("Unshaded picture"),
                                                unshadedBlock_->Data(), bytes);
    std::memcpy(unshaded_->memory, target_->memory, bytes);
  } else if (regions.IsWholeFrame()) {
    Restore();
  }
  if (bevelOn_) {
    const std::vector<QRect>& rectangles = regions.Rectangles();
    for (auto it = rectangles.rbegin(); it != rectangles.rend(); ++it) {
      const QRect r = it->intersected(QRect(0, 0, width_, height_));
      if (!r.isEmpty()) Shade(r.left(), r.top(), r.right(), r.bottom());
    }
    if (regions.IsWholeFrame() && rectangles.empty()) Shade(0, 0, width_ - 1, height_ - 1);
  }
  pending_ = false;
}

void BevelFilter::Restore() {
  const VirtualBuffer* source =
      snapshot_ && snapshot_->width == width_ && snapshot_->height == height_ ? snapshot_
                                                                             : unshaded_.get();
  std::memcpy(target_->memory, source->memory, std::size_t(width_) * std::size_t(height_) * 4);
}

void BevelFilter::Shade(int left, int top, int right, int bottom) {
  for (int y = bottom; y >= top; --y)
    ShadeRun(target_->Row(y) + left, MapRow(y) + left, right - left + 1);
}

void BevelFilter::SetLight(bool light) {
  if (light == light_) return;
  light_ = light;
  const std::size_t count = std::size_t(width_) * std::size_t(height_);
  for (std::size_t i = 0; i < count; ++i)
    map_[i] = std::int8_t(light ? map_[i] >> 1 : map_[i] * 2);
  BevelRings::SetLightRings(light);
}
