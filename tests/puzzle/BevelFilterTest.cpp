#include "PuzzleFixtures.h"
#include "imaging/VirtualBuffer.h"
#include "puzzle/BevelFilter.h"
#include "puzzle/BevelRings.h"
#include "puzzle/VideoFrameRegions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int W = 37;  // not a multiple of four: the last pixels of a row go one by one
constexpr int H = 9;

std::uint32_t Expected(std::uint32_t pixel, int v) {
  auto channel = [&](int shift, int low) {
    const int c = int(pixel >> shift & 0xFF);
    const int shaded = v > 0 ? std::min(c + v, 255) : v < 0 ? (c > -v ? c + v : low) : c;
    return std::uint32_t(shaded) << shift;
  };
  return channel(16, 0) | channel(8, 0) | channel(0, 1);
}

// A picture of random colours (with black and white among them) and a random map.
struct Shaded {
  explicit Shaded(unsigned seed) : picture(W, H, QStringLiteral("live")), bevel(&picture, true, H, W) {
    std::mt19937 random(seed);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const unsigned kind = random() % 4;
        picture.Row(y)[x] = kind == 0 ? 0 : kind == 1 ? 0xFFFFFF : random() & 0xFFFFFF;
        bevel.MapRow(y)[x] = std::int8_t(int(random() % 256) - 128);
      }
    original.assign(picture.memory, picture.memory + W * H);
  }
  FakePicture size{W, H, true};
  VirtualBuffer picture;
  BevelFilter bevel;
  std::vector<std::uint32_t> original;
};

VideoFrameRegions WholeFrame() {
  VideoFrameRegions whole;
  whole.SetWholeFrame();
  return whole;
}

}  // namespace

// Every pixel gets its value added with the channel limits, blue never below 1 in shade; a
// second whole-frame pass gives the same picture, and with the bevel off it is the unshaded
// one again.
TEST(BevelFilterTest, ShadesExactlyOnceAndRestoresExactly) {
  Shaded s(3);
  s.bevel.SetPending();
  s.bevel.Apply(WholeFrame());
  EXPECT_FALSE(s.bevel.IsPending());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      ASSERT_EQ(s.picture.Row(y)[x], Expected(s.original[std::size_t((H - 1 - y) * W + x)],
                                              s.bevel.MapRow(y)[x]))
          << x << "," << y;
  const std::vector<std::uint32_t> once(s.picture.memory, s.picture.memory + W * H);
  s.bevel.Apply(WholeFrame());
  EXPECT_EQ(std::vector<std::uint32_t>(s.picture.memory, s.picture.memory + W * H), once);
  s.bevel.SetBevelOn(false);
  s.bevel.Apply(WholeFrame());
  EXPECT_EQ(std::vector<std::uint32_t>(s.picture.memory, s.picture.memory + W * H), s.original);

  // Pure black under a shadow keeps blue at 1.
  s.picture.Row(0)[0] = 0;
  s.bevel.MapRow(0)[0] = -20;
  s.bevel.SetBevelOn(true);
  VideoFrameRegions corner;
  corner.Add(0, 0, 0, 0 + 1);
  s.bevel.Apply(corner);
  EXPECT_EQ(s.picture.Row(0)[0], 0x000001u);
}

// Light halves the map and leaving it doubles it back; the rings follow.
TEST(BevelFilterTest, LightStyleHalvesAndRestoresTheMap) {
  Shaded s(5);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) s.bevel.MapRow(y)[x] = std::int8_t(2 * ((x + y) % 40 - 20));
  BevelRings::SetBevelStyle(3);
  const int ring = BevelRings::Value(1);
  s.bevel.SetLight(true);
  EXPECT_EQ(s.bevel.MapRow(1)[0], std::int8_t(-19));
  EXPECT_EQ(BevelRings::Value(1), ring >> 1);
  s.bevel.SetLight(false);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) ASSERT_EQ(s.bevel.MapRow(y)[x], 2 * ((x + y) % 40 - 20));
  EXPECT_EQ(BevelRings::Value(1), ring);
}

// The snapshot stands in for the unshaded copy; a target of another size is left alone;
// a filter that goes stops being current.
TEST(BevelFilterTest, SnapshotSizeMismatchAndTheCurrentFilter) {
  Shaded s(9);
  s.bevel.Apply(WholeFrame());
  VirtualBuffer snapshot(W, H, QStringLiteral("snapshot"));
  s.bevel.SetSnapshot(&snapshot);
  s.bevel.SetBevelOn(false);
  s.bevel.Apply(WholeFrame());
  EXPECT_TRUE(std::all_of(s.picture.memory, s.picture.memory + W * H, [](auto p) { return p == 0; }));

  VirtualBuffer other(W + 1, H, QStringLiteral("other"));
  other.Row(0)[0] = 0x123456;
  BevelFilter mismatched(&other, true, H, W);
  mismatched.MapRow(0)[0] = 10;
  mismatched.Apply(WholeFrame());
  EXPECT_EQ(other.Row(0)[0], 0x123456u);
  EXPECT_EQ(mismatched.UnshadedCopy(), nullptr);

  {
    BevelFilter doomed(nullptr, true, H, W);
    BevelFilter::SetCurrent(&doomed);
  }
  EXPECT_EQ(BevelFilter::Current(), nullptr);
}
