#pragma once
// The raised look of the pieces: one signed shading value per picture pixel, highlight along
// each piece's upper-left edges and shadow along its lower-right edges, which the pieces
// write through their masks. The value map starts flat (all 0).

#include <cstdint>
#include <memory>

class PageBlock;
class VirtualBuffer;

class BevelFilter {
public:
  // target: the live picture (owned by the puzzle). An empty map for a non-positive size.
  BevelFilter(VirtualBuffer* target, bool active, int height, int width);
  ~BevelFilter();
  BevelFilter(const BevelFilter&) = delete;
  BevelFilter& operator=(const BevelFilter&) = delete;

  // The filter the pieces shade into, or null; a filter stops being current when destroyed.
  static BevelFilter* Current();
  static void SetCurrent(BevelFilter* filter);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Row y (from the top) of the shading values; only for 0 <= y < Height().
  std::int8_t* MapRow(int y) const { return map_ + std::ptrdiff_t(y) * width_; }
  bool IsActive() const { return active_; }
  VirtualBuffer* Target() const { return target_; }

  // A piece rewrote its values; the picture needs shading again.
  void SetPending() { pending_ = true; }
  bool IsPending() const { return pending_; }

private:
  std::unique_ptr<PageBlock> block_;
  std::int8_t* map_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool active_;
  bool pending_ = false;
  VirtualBuffer* target_;
};
