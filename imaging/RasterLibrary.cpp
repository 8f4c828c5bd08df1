#include "RasterLibrary.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Slot n holds handle n + 1; a freed slot is empty and reused.
// Never destroyed: buffers held in statics may still leave the table at exit.
std::vector<RasterImage>& Slots() {
  static auto* held = new std::vector<RasterImage>;
  return *held;
}

RasterImage activeImage;
std::uint32_t currentColour = 0;

// Copies count pixels, keeping the target where the source's low 24 bits are 0.
void CopyOpaquePixels(const std::uint32_t* from, std::uint32_t* to, int count) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i colour = _mm_set1_epi32(0xFFFFFF), zero = _mm_setzero_si128();
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
    const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, colour), zero);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                     _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, s)));
  }
#endif
  for (; i < count; ++i) {
    const std::uint32_t v = from[i];
    if (v & 0xFFFFFF) to[i] = v;
  }
}

void CopyRows(const RasterImage& source, int sx, int sy, int w, int h, const RasterImage& target,
              int tx, int ty, bool transparent) {
  // Overlapping copies inside one picture must not read what they already wrote: rows go
  // bottom first when moving down, and a transparent row goes through a copy of itself.
  const bool same = source.pixels == target.pixels;
  const bool upwards = same && ty > sy;
  std::vector<std::uint32_t> spare(same && transparent ? static_cast<std::size_t>(w) : 0);
  for (int i = 0; i < h; ++i) {
    const int row = upwards ? h - 1 - i : i;
    const std::uint32_t* from = source.Row(sy + row) + sx;
    std::uint32_t* to = target.Row(ty + row) + tx;
    if (!transparent) {
      std::memmove(to, from, static_cast<std::size_t>(w) * 4);
      continue;
    }
    if (same) {
      std::copy_n(from, w, spare.data());
      from = spare.data();
    }
    CopyOpaquePixels(from, to, w);
  }
}

}  // namespace

int RasterLibrary::AddSlot(const RasterImage& image) {
  auto& held = Slots();
  for (std::size_t i = 0; i < held.size(); ++i) {
    if (!held[i].pixels) {
      held[i] = image;
      return static_cast<int>(i) + 1;
    }
  }
  held.push_back(image);
  return static_cast<int>(held.size());
}

void RasterLibrary::RemoveSlot(int handle) {
  auto& held = Slots();
  if (handle < 1 || handle > static_cast<int>(held.size())) return;
  if (activeImage.pixels == held[handle - 1].pixels) Deactivate();
  held[handle - 1] = RasterImage{};
  while (!held.empty() && !held.back().pixels) held.pop_back();
}

RasterImage RasterLibrary::Slot(int handle) {
  const auto& held = Slots();
  if (handle < 1 || handle > static_cast<int>(held.size())) return {};
  return held[handle - 1];
}

bool RasterLibrary::Activate(int handle) {
  const RasterImage image = Slot(handle);
  if (!image.pixels) {
    Deactivate();
    return false;
  }
  activeImage = image;
  return true;
}

void RasterLibrary::Deactivate() { activeImage = RasterImage{}; }

void RasterLibrary::CopyBlock(const RasterImage& source, int sx, int sy, int w, int h,
                              const RasterImage& target, int tx, int ty, bool transparent) {
  if (!source.pixels || !target.pixels) return;
  // Wide arithmetic: corners far outside must not overflow while being clipped.
  std::int64_t x0 = sx, y0 = sy, x1 = tx, y1 = ty, cw = w, ch = h;
  // Clip against the source, moving the target corner along, then against the target.
  if (x0 < 0) { cw += x0; x1 -= x0; x0 = 0; }
  if (y0 < 0) { ch += y0; y1 -= y0; y0 = 0; }
  if (x1 < 0) { cw += x1; x0 -= x1; x1 = 0; }
  if (y1 < 0) { ch += y1; y0 -= y1; y1 = 0; }
  cw = std::min({cw, source.width - x0, target.width - x1});
  ch = std::min({ch, source.height - y0, target.height - y1});
  if (cw <= 0 || ch <= 0) return;
  CopyRows(source, int(x0), int(y0), int(cw), int(ch), target, int(x1), int(y1), transparent);
}

std::size_t RasterBufferMemorySize(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

std::uint32_t* RasterBufferAddress(int handle) { return RasterLibrary::Slot(handle).pixels; }

namespace {
void CopyRect(int minx, int maxx, int miny, int maxy, int newx, int newy, int sourceHandle,
              int targetHandle, bool transparent) {
  if (maxx < minx || maxy < miny) return;
  // A span or corner beyond int range cannot lie inside any picture.
  const std::int64_t w = std::int64_t(maxx) - minx + 1, h = std::int64_t(maxy) - miny + 1;
  const std::int64_t top = std::int64_t(newy) - (std::int64_t(maxy) - miny);
  if (w > INT32_MAX || h > INT32_MAX || top < INT32_MIN) return;
  RasterLibrary::CopyBlock(RasterLibrary::Slot(sourceHandle), minx, miny, int(w), int(h),
                           RasterLibrary::Slot(targetHandle), newx, int(top), transparent);
}
}  // namespace

void RasterCopyRect(int minx, int maxx, int miny, int maxy, int newx, int newy,
                    int sourceHandle, int targetHandle) {
  CopyRect(minx, maxx, miny, maxy, newx, newy, sourceHandle, targetHandle, false);
}

void RasterCopyRectTransparent(int minx, int maxx, int miny, int maxy, int newx, int newy,
                               int sourceHandle, int targetHandle) {
  CopyRect(minx, maxx, miny, maxy, newx, newy, sourceHandle, targetHandle, true);
}

std::uint32_t RasterGetPixel(int x, int y) {
  return activeImage.Contains(x, y) ? activeImage.Row(y)[x] : 0;
}

void RasterPutPixel(int x, int y) {
  if (activeImage.Contains(x, y)) activeImage.Row(y)[x] = currentColour;
}

void RasterSetColor(std::uint32_t value) { currentColour = value; }

std::uint32_t RasterMapRGB(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r & 0xFF) << 16) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
         static_cast<std::uint32_t>(b & 0xFF);
}

void RasterSplitColor(std::uint32_t value, int& r, int& g, int& b) {
  r = static_cast<int>((value >> 16) & 0xFF);
  g = static_cast<int>((value >> 8) & 0xFF);
  b = static_cast<int>(value & 0xFF);
}
