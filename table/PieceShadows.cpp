#include "PieceShadows.h"

#include "imaging/VirtualBuffer.h"
#include "puzzle/ChipMask.h"
#include "puzzle/PuzzleChip.h"

#include <algorithm>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int RestingLevels[] = {45, 30, 15, 5};
constexpr int CarriedLevels[] = {35, 35, 27, 20, 15, 5};
constexpr std::uint32_t LevelShift = 24;
constexpr std::uint32_t LevelMask = 0x3F;

// Each colour channel lowered by amount, floored at 0; the top byte kept.
inline std::uint32_t Lowered(std::uint32_t pixel, int amount) {
  const std::uint32_t by = std::uint32_t(amount) * 0x010101u;
#if defined(__SSE2__)
  return std::uint32_t(_mm_cvtsi128_si32(
      _mm_subs_epu8(_mm_cvtsi32_si128(int(pixel)), _mm_cvtsi32_si128(int(by)))));
#else
  std::uint32_t out = pixel & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int c = int((pixel >> shift) & 0xFF) - int((by >> shift) & 0xFF);
    out |= std::uint32_t(std::max(c, 0)) << shift;
  }
  return out;
#endif
}

// Walks down-right from start for up to length steps, handing each table pixel inside the
// table to paint with its step. Rows lie bottom-up: one step is one pixel on, a row back.
template <typename Paint>
void Walk(VirtualBuffer& table, QPoint start, int length, Paint paint) {
  const int w = table.width, h = table.height;
  int x = start.x(), y = start.y(), step = 0;
  // Steps above or left of the table are skipped, steps past its right or bottom edge end it.
  const int skip = std::max({0, -x, -y});
  step += skip;
  x += skip;
  y += skip;
  length = std::min({length, step + w - x, step + h - y});
  std::uint32_t* pixel = table.memory + std::ptrdiff_t(h - 1 - y) * w + x;
  for (; step < length; ++step, pixel += 1 - w) paint(*pixel, step);
}

// Where the piece's outline frame starts on the table.
QPoint OutlineOrigin(const PuzzleChip& piece) {
  const ChipMask& mask = piece.Mask();
  return {piece.TableX() - mask.MinX(), piece.TableY() - mask.FirstRow()};
}

}  // namespace

namespace PieceShadows {

void CastResting(VirtualBuffer& table, const PuzzleChip& piece) {
  if (table.IsEmpty()) return;
  const QPoint origin = OutlineOrigin(piece);
  const auto& outline = piece.Outline();
  const int w = table.width, h = table.height;
  // Outline points lie at most one pixel past the piece's box, and walks reach 3 further:
  // a piece that far inside the table needs no check per pixel.
  const ChipMask& mask = piece.Mask();
  const int reach = int(std::size(RestingLevels));
  if (piece.TableX() >= 0 && piece.TableY() >= 0 && piece.TableX() + mask.TableWidth() + reach <= w &&
      piece.TableY() + mask.TableHeight() + reach <= h) {
    std::uint32_t* base = table.memory + std::ptrdiff_t(h - 1 - origin.y()) * w + origin.x();
    const std::ptrdiff_t down = 1 - std::ptrdiff_t(w);
    for (auto point = outline.rbegin(); point != outline.rend(); ++point) {
      std::uint32_t* p = base + point->x - std::ptrdiff_t(point->y) * w;
      switch (std::min<int>(point->restingLength, reach)) {
        case 4: p[3 * down] = Lowered(p[3 * down], RestingLevels[3]); [[fallthrough]];
        case 3: p[2 * down] = Lowered(p[2 * down], RestingLevels[2]); [[fallthrough]];
        case 2: p[down] = Lowered(p[down], RestingLevels[1]); [[fallthrough]];
        case 1: p[0] = Lowered(p[0], RestingLevels[0]); break;
        default: break;
      }
    }
    return;
  }
  for (auto point = outline.rbegin(); point != outline.rend(); ++point) {
    const int length = std::min<int>(point->restingLength, reach);
    Walk(table, origin + QPoint(point->x, point->y), length, [](std::uint32_t& pixel, int step) {
      pixel = Lowered(pixel, RestingLevels[step]);
    });
  }
}

void CastCarried(VirtualBuffer& table, const PuzzleChip& piece, QPoint offset) {
  if (table.IsEmpty()) return;
  const QPoint origin = OutlineOrigin(piece) + offset - QPoint(1, 1);
  const auto& outline = piece.Outline();
  for (auto point = outline.rbegin(); point != outline.rend(); ++point) {
    const int length = std::min<int>(point->carriedLength, std::size(CarriedLevels));
    Walk(table, origin + QPoint(point->x, point->y), length, [](std::uint32_t& pixel, int step) {
      const int level = CarriedLevels[step];
      const int recorded = int((pixel >> LevelShift) & LevelMask);
      if (level <= recorded) return;
      pixel = (Lowered(pixel, level - recorded) & 0xFFFFFF) | (std::uint32_t(level) << LevelShift);
    });
  }
}

}  // namespace PieceShadows
