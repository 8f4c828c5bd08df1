#pragma once
// What the windows of the shell ask of the tips manager: whether tips are on, and starting
// them over. The manager registers itself as the current one; until it does, a null
// control answers that keeps only the stored setting.

#include "Yelk/CurrentInstance.h"

class TipsControl : public CurrentInstance<TipsControl> {
public:
  virtual ~TipsControl() = default;

  virtual bool TipsEnabled() const = 0;
  virtual void SetTipsEnabled(bool on) = 0;
  // Every tip becomes available again.
  virtual void ResetTips() = 0;

  // The current control, or the null one.
  static TipsControl& Get();
};
