#pragma once
// The raised look of the pieces: one signed shading value per picture pixel, highlight along
// each piece's upper-left edges and shadow along its lower-right edges, which the pieces
// write through their masks and which Apply adds to the live picture. The value map starts
// flat (all 0). The filter keeps an unshaded copy of the picture, so that shading can be
// redone or removed exactly.

#include "Yelk/CurrentInstance.h"

#include <cstdint>
#include <memory>

class PageBlock;
class VideoFrameRegions;
class VirtualBuffer;

// The current filter is the one the pieces shade into.
class BevelFilter : public CurrentInstance<BevelFilter> {
public:
  // target: the live picture (owned by the puzzle). An empty map for a non-positive size.
  BevelFilter(VirtualBuffer* target, bool active, int height, int width);
  // Stops being the current filter.
  ~BevelFilter();
  BevelFilter(const BevelFilter&) = delete;
  BevelFilter& operator=(const BevelFilter&) = delete;

  // Only when active. The first call keeps an unshaded copy of the target; later calls with
  // the whole-frame flag first restore the target from the snapshot (when one is handed
  // over) or that copy. With the bevel on, the shading is then added to every rectangle of
  // regions. Shading adds to what a rectangle holds, so a partial list may only name pixels
  // that were just rewritten unshaded. Nothing when the target's size is not the map's.
  void Apply(const VideoFrameRegions& regions);
  // The light style halves every value, leaving it doubles them back; the bevel rings
  // follow, so that pieces shaded later match.
  void SetLight(bool light);
  bool Light() const { return light_; }
  bool IsBevelOn() const { return bevelOn_; }
  void SetBevelOn(bool on) { bevelOn_ = on; }
  // The unshaded frames of a paused playback, used instead of the unshaded copy; not owned,
  // null to go back to the copy.
  void SetSnapshot(VirtualBuffer* snapshot) { snapshot_ = snapshot; }
  // The unshaded copy, null before the first Apply.
  VirtualBuffer* UnshadedCopy() const { return unshaded_.get(); }

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
  bool TargetFitsMap() const;
  void Restore();
  void Shade(int left, int top, int right, int bottom);

  std::unique_ptr<PageBlock> block_;
  std::int8_t* map_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  bool active_;
  bool pending_ = false;
  VirtualBuffer* target_;
  std::unique_ptr<PageBlock> unshadedBlock_;
  std::unique_ptr<VirtualBuffer> unshaded_;
  VirtualBuffer* snapshot_ = nullptr;
  bool bevelOn_ = true;
  bool light_ = false;
};
